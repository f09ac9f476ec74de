// Select within range as the user reaches it: the result list's menu, the distance dialog, the selection, and the
// export against the export of --near.
#include "windowdriver.h"

#include "exporter.h"

#include <QMenu>

namespace {

// Airports around Lille (LFQQ), with their distances from it; LFXX's coordinates are not decimal degrees.
const QStringList kAirports = {"LFQQ;LF;A;LIL;50.5633;3.0897;48;1;Lille", "LFAT;LF;A;;50.5147;1.6275;1;1;Touquet",
                               "LFPG;LF;A;CDG;49.0097;2.5479;1;1;Paris",  // LFAT 103 km, LFPG 177 km
                               "LFXX;LF;A;;50,60;3,10;1;1;Virgule",       "EBOS;EB;A;OST;51.1989;2.8622;4;1;Ostend",
                               "EBLG;EB;A;LGG;50.6374;5.4432;1;1;Liege"};  // EBOS 73 km, EBLG 166 km
const QString kLille = "50.5633,3.0897";

// What the user met: the menu's items, "(off)" after a disabled one; the text the dialog started with; the fault it
// showed when it stayed open after Enter.
struct Met {
  QStringList items;
  std::optional<QString> start;
  QString fault;
};

// Opens the result list's menu on `ident`'s row as the user does: a right click through the window, which brings the
// system's context menu event, or a click then the key `key` (Menu, or F10 with Shift). Clicks the item `item`, then
// Escape if the menu stays open; types `distance` into the dialog and Enter, or Escape without one or when it stays.
Met useMenu(WindowDriver& ui, const QString& ident, const QString& item, const QString& distance = {}, int key = 0) {
  Met met;
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&] {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* action : menu->actions()) met.items << action->text() + (action->isEnabled() ? "" : " (off)");
      for (QAction* action : menu->actions())
        if (action->text() == item) QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
      if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
    } else if (QWidget* dialog = QApplication::activeModalWidget()) {
      auto* field = dialog->findChild<QLineEdit*>("RangeDistance");
      if (met.start) met.fault = dialog->findChild<QLabel*>("RangeFault")->text();
      if (!met.start) met.start = field->text();  // selected whole, so that typing replaces it
      if (distance.isEmpty() || !met.fault.isEmpty()) return QTest::keyClick(field, Qt::Key_Escape);
      QTest::keyClicks(field, distance);
      QTest::keyClick(field, Qt::Key_Return);
    }
  });
  user.start(10);
  auto* list = ui.sorted("ListResult");
  const int row = static_cast<int>(ui.visibleRows().indexOf(QRegularExpression(ident + " .*")));
  const QPoint at = list->visualRect(list->model()->index(row, 0)).topLeft() + QPoint(20, 4);
  if (key == 0) {
    // Wine may take the activation from a window shown a moment ago and give it back, which closes a menu open then,
    // as Windows closes menus: a menu that closed unseen is asked for once more, the window active.
    for (int attempt = 0; attempt < 2 && met.items.isEmpty(); ++attempt) {
      ui.window().activateWindow();
      if (!QTest::qWaitForWindowActive(&ui.window())) break;
      QTest::mouseClick(ui.window().windowHandle(), Qt::RightButton, {}, list->viewport()->mapTo(&ui.window(), at));
    }
  } else {
    WindowDriver::clickRow(list, row);
    list->setFocus();  // a key reaches the list that has the focus
    QTest::keyClick(list, Qt::Key(key), key == Qt::Key_F10 ? Qt::ShiftModifier : Qt::NoModifier);
  }
  return met;
}

}  // namespace

class RangeTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    ui_ = std::make_unique<WindowDriver>();
    ui_->addFile("Test Airports.csv", crlf(kAirports));
    ui_->clickFile("Test Airports.csv");
    ui_->clickCode("LF");
    WindowDriver::clickRow(ui_->sorted("ListResult"), 1);  // LFPG, a selection that a range replaces
  }
  void selectsAsNearExports_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("count");
    QTest::newRow("right click") << 0 << "150 km"
                                 << "2 results of 4 objects.";
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << "250nm"
                              << "3 results of 4 objects.";
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << "100KM"
                               << "1 result of 4 objects.";
  }
  void selectsAsNearExports() {
    QFETCH(int, key);
    QFETCH(QString, distance);
    QFETCH(QString, count);
    const QString item = "Select within range of LFQQ...";
    QCOMPARE(useMenu(*ui_, "LFQQ", item, distance, key).items, QStringList{item});
    QCOMPARE(ui_->count(), count);
    QCOMPARE(ui_->window().focusWidget(), ui_->sorted("ListResult"));  // the keys go on to the list
    exportAndCompare({"LF"}, distance);
  }
  void aDisabledItemOrABadDistanceChangesNothing() {
    const Met disabled = useMenu(*ui_, "LFXX", "Select within range of LFXX...");
    QCOMPARE(disabled.items, QStringList{"Select within range of LFXX... (off)"});
    QVERIFY(!disabled.start);  // the click on it opened no dialog
    QCOMPARE(useMenu(*ui_, "LFQQ", "Select within range of LFQQ...", "250").fault,
             "give the distance with its unit, km or nm, for example 250nm");
    QCOMPARE(ui_->sorted("ListResult")->SelectedFlags(), std::vector<bool>({false, true, false, false}));
    QCOMPARE(ui_->count(), "4 objects");
  }
  void theKeptFixServesTheNextCountry() {
    QCOMPARE(useMenu(*ui_, "LFQQ", "Select within range of LFQQ...", "100 km").start, QString());
    ui_->button("Command5")->click();
    ui_->check("Check1")->click();  // Add to actual File
    ui_->clickCode("EB");
    const QStringList items = {"Select within 100 km of LFQQ", "Select within range of EBLG..."};
    QCOMPARE(useMenu(*ui_, "EBLG", items[0], {}, Qt::Key_Menu).items, items);
    QCOMPARE(ui_->count(), "1 result of 2 objects.");
    QCOMPARE(useMenu(*ui_, "EBLG", items[1]).start, "100 km");  // then Escape, which changes nothing
    exportAndCompare({"LF", "EB"}, "100 km");
  }

 private:
  // Exports the selection, and compares the window's GPX file with the export of the file with --near Lille, --within
  // `distance` and --country, for each of `codes` in turn, the first into a new file and the others added to it.
  void exportAndCompare(const QStringList& codes, const QString& distance) {
    ui_->button("Command5")->click();
    QString error;
    skelvor::ExportRequest near;
    near.fixFile = QDir(ui_->folder()).filePath("Test Airports.csv");
    near.output = ui_->folder() + "/near.gpx";
    near.around = {*skelvor::parsePoint(kLille, error), *skelvor::parseDistance(distance, error), kLille, distance};
    for (const QString& code : codes) {
      near.countries = {code};
      QVERIFY(skelvor::runExport(near).ok);
      near.append = true;
    }
    QFile window(QDir(ui_->folder()).filePath("VOK.gpx")), expected(near.output);
    QVERIFY(window.open(QIODevice::ReadOnly) && expected.open(QIODevice::ReadOnly));
    QVERIFY2(schemaComplaint(window.fileName()).isEmpty(), "not valid GPX 1.0");
    QCOMPARE(window.readAll(), expected.readAll());
  }

  std::unique_ptr<WindowDriver> ui_;
};

QTEST_MAIN(RangeTest)
#include "range_test.moc"

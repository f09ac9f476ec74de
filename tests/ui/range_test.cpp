// Select within range, as the user reaches it: the result list's context menu, the distance dialog, the selection
// and the export, against skelvor-export's --near.
#include "windowdriver.h"

#include "exporter.h"
#include "rangedialog.h"

#include <QMenu>

namespace {

// Airports around Lille Lesquin (LFQQ), each with its distance from it; two French lines whose coordinates are not
// plain decimal degrees.
const QStringList kAirports = {"LFQQ;LF;A;LIL;50.5633;3.0897;48;2825;Lille Lesquin",
                               "LFAT;LF;A;LTQ;50.5147;1.6275;11;1850;Le Touquet",  // 103 km
                               "LFPG;LF;A;CDG;49.0097;2.5479;119;4215;Paris CDG",  // 177 km
                               "LFMN;LF;A;NCE;43.6584;7.2159;4;2960;Nice",         // 829 km
                               "LFXX;LF;A;;50,60;3,10;1;1;Virgule",
                               "LFYY;LF;A;; 50.6;3.1;1;1;Espace",
                               "EBBR;EB;A;BRU;50.9014;4.4844;56;3638;Brussels",  // 105 km
                               "EBOS;EB;A;OST;51.1989;2.8622;4;3200;Ostend",     // 73 km
                               "EBLG;EB;A;LGG;50.6374;5.4432;201;3690;Liege"};   // 166 km
// Navaids of England and Scotland: London 269 km from Lille Lesquin, Talla 697 km.
const QStringList kNavaids = {"VOR;EG;LON;x;51.4872;-0.4667;x;x;x;LONDON", "VOR;EG;TLA;x;55.4992;-3.3547;x;x;x;TALLA"};

// A step of a user's road through the menu and the dialog: it acts once the widget it waits for is up, and says so.
using Step = std::function<bool()>;

// Runs `action`, which opens the menu, and meanwhile each of `steps` in turn; a dialog that comes after the last step
// is closed, and fails the test.
void drive(const std::function<void()>& action, QList<Step> steps) {
  QTimer stepper;
  bool unexpected = false;
  QObject::connect(&stepper, &QTimer::timeout, [&] {
    if (!steps.isEmpty() && steps.first()()) steps.removeFirst();
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()); steps.isEmpty() && dialog) {
      unexpected = true;
      dialog->reject();
    }
  });
  stepper.start(10);
  action();
  QVERIFY2(steps.isEmpty(), "a step did not come");
  QVERIFY2(!unexpected, "a dialog came unasked");
}

// Clicks the menu's item that reads `item`, after checking every item's text and whether it is enabled; Escape
// closes the menu when no item is given, or when the click leaves it open.
Step choose(const QString& item, const QStringList& items, const QList<bool>& enabled = {true, true}) {
  return [=] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return false;
    QStringList texts;
    QList<bool> states;
    for (QAction* action : menu->actions()) {
      texts << action->text();
      states << action->isEnabled();
      if (action->text() == item) QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
    }
    [&] { QCOMPARE(texts, items); }();
    [&] { QCOMPARE(states, enabled.first(items.size())); }();
    if (menu->isVisible()) QTest::keyClick(menu, Qt::Key_Escape);
    return true;
  };
}

// Types `distance` into the dialog, after checking what it starts with, and presses Enter; or Escape when no distance
// is given.
Step type(const std::optional<QString>& distance, const QString& start = {}) {
  return [=] {
    auto* dialog = qobject_cast<skelvor::RangeDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return false;
    auto* field = dialog->findChild<QLineEdit*>("RangeDistance");
    [&] { QCOMPARE(field->text(), start); }();
    if (!distance) {
      QTest::keyClick(field, Qt::Key_Escape);
      return true;
    }
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, *distance);
    QTest::keyClick(field, Qt::Key_Return);
    return true;
  };
}

// The export of skelvor-export FILE --near LAT,LON --within DISTANCE --country CODE, into `output`.
void exportNear(const QString& file, const QString& country, const QString& point, const QString& distance,
                const QString& output, bool append) {
  skelvor::ExportRequest request;
  request.fixFile = file;
  request.countries = {country};
  request.output = output;
  request.append = append;
  QString error;
  request.around = {*skelvor::parsePoint(point, error), *skelvor::parseDistance(distance, error), point, distance};
  QVERIFY2(skelvor::runExport(request).ok, qPrintable(file));
}

QByteArray contents(const QString& path) {
  QFile file(path);
  const QString complaint = schemaComplaint(path);
  if (!complaint.isEmpty()) return "not valid GPX 1.0: " + complaint.toUtf8();
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

}  // namespace

class RangeTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qInfo("Locale: %s", qPrintable(QLocale().name())); }
  void selectsAndExportsAsNearDoes_data();
  void selectsAndExportsAsNearDoes();
  void aBadDistanceKeepsTheDialogOpen_data();
  void aBadDistanceKeepsTheDialogOpen();
  void theKeptFixServesEveryCountryAndFile();
  void unusableCoordinatesDisableTheItem();

 private:
  // The window with the airports loaded and `country` picked.
  static void pick(WindowDriver& ui, const QString& country) {
    if (ui.sorted("ListPAYS")->ListCount() == 0) {
      ui.addFile("Test Airports.csv", crlf(kAirports));
      ui.clickFile("Test Airports.csv");
    }
    ui.clickCode(country);
  }
  static qsizetype rowOf(WindowDriver& ui, const QString& ident) {
    const QStringList rows = ui.visibleRows();
    for (qsizetype row = 0; row < rows.size(); ++row)
      if (rows.at(row).startsWith(ident + ' ')) return row;
    return -1;
  }
  // Opens the result list's menu on the row of `ident`: "mouse" with a right click on it, "menu key" or "shift F10"
  // after making it current with a click.
  static void openMenu(WindowDriver& ui, const QString& ident, const QString& how) {
    skelvor::SortedList* list = ui.sorted("ListResult");
    const qsizetype row = rowOf(ui, ident);
    if (how == "mouse") {
      // Through the window, as the system hands a click over, so that the click brings its context menu event.
      const QModelIndex index = list->model()->index(static_cast<int>(row), 0);
      list->scrollTo(index);
      const QRect rect = list->visualRect(index);  // as wide as the row's text, spaces and coordinates included
      const QPoint at = list->viewport()->mapTo(&ui.window(), QPoint(rect.left() + 20, rect.center().y()));
      QTest::mouseClick(ui.window().windowHandle(), Qt::RightButton, {}, at);
    } else {
      WindowDriver::clickRow(list, row);
      QTest::keyClick(list, how == "menu key" ? Qt::Key_Menu : Qt::Key_F10,
                      how == "menu key" ? Qt::NoModifier : Qt::ShiftModifier);
    }
  }
  static QStringList selected(WindowDriver& ui) {
    QStringList idents;
    for (qsizetype row = 0; row < ui.sorted("ListResult")->ListCount(); ++row)
      if (ui.sorted("ListResult")->Selected(row)) idents << ui.visibleRows().at(row).section(u' ', 0, 0);
    return idents;
  }
  static QString gpx(const WindowDriver& ui) { return QDir(ui.folder()).filePath("VOK.gpx"); }
};

void RangeTest::selectsAndExportsAsNearDoes_data() {
  QTest::addColumn<QString>("fix");
  QTest::addColumn<QString>("point");
  QTest::addColumn<QString>("how");
  QTest::addColumn<QString>("distance");
  QTest::addColumn<QStringList>("selected");
  QTest::addColumn<QString>("count");
  QTest::newRow("right click") << "LFQQ"
                               << "50.5633,3.0897"
                               << "mouse"
                               << "150 km" << QStringList{"LFAT", "LFQQ"} << "2 results of 6 objects.";
  QTest::newRow("Menu key") << "LFPG"
                            << "49.0097,2.5479"
                            << "menu key"
                            << "250nm" << QStringList{"LFAT", "LFPG", "LFQQ"} << "3 results of 6 objects.";
  QTest::newRow("Shift+F10") << "LFAT"
                             << "50.5147,1.6275"
                             << "shift F10"
                             << "100KM" << QStringList{"LFAT"} << "1 result of 6 objects.";
}

void RangeTest::selectsAndExportsAsNearDoes() {
  QFETCH(QString, fix);
  QFETCH(QString, point);
  QFETCH(QString, how);
  QFETCH(QString, distance);
  QFETCH(QStringList, selected);
  QFETCH(QString, count);
  WindowDriver ui;
  pick(ui, "LF");
  WindowDriver::clickRow(ui.sorted("ListResult"), rowOf(ui, "LFMN"));  // a selection the range replaces
  const QString item = "Select within range of " + fix + "...";
  drive([&] { openMenu(ui, fix, how); }, {choose(item, {item}), type(distance)});
  QCOMPARE(RangeTest::selected(ui), selected);
  QCOMPARE(ui.count(), count);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  ui.button("Command5")->click();
  exportNear(QDir(ui.folder()).filePath("Test Airports.csv"), "LF", point, distance, ui.folder() + "/near.gpx", false);
  QCOMPARE(contents(gpx(ui)), contents(ui.folder() + "/near.gpx"));
}

void RangeTest::aBadDistanceKeepsTheDialogOpen_data() {
  QTest::addColumn<QString>("distance");
  QTest::addColumn<QString>("fault");
  QTest::newRow("no unit") << "250"
                           << "give the distance with its unit, km or nm, for example 250nm";
  QTest::newRow("miles") << "250 miles"
                         << "the unit \"miles\" is neither km nor nm";
  QTest::newRow("negative") << "-5nm"
                            << "the distance must be a positive number, for example 250nm";
  QTest::newRow("empty") << ""
                         << "the distance must be a positive number, for example 250nm";
}

void RangeTest::aBadDistanceKeepsTheDialogOpen() {
  QFETCH(QString, distance);
  QFETCH(QString, fault);
  WindowDriver ui;
  pick(ui, "LF");
  const Step checkAndCancel = [&] {
    auto* dialog = qobject_cast<skelvor::RangeDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->findChild<QLabel*>("RangeFault")->isVisible()) return false;
    [&] { QCOMPARE(dialog->findChild<QLabel*>("RangeFault")->text(), fault); }();
    QTest::keyClick(dialog->findChild<QLineEdit*>("RangeDistance"), Qt::Key_Escape);
    return true;
  };
  drive([&] { openMenu(ui, "LFQQ", "mouse"); },
        {choose("Select within range of LFQQ...", {"Select within range of LFQQ..."}), type(distance), checkAndCancel});
  QCOMPARE(selected(ui), QStringList());
  QCOMPARE(ui.count(), QStringLiteral("6 objects"));
}

void RangeTest::theKeptFixServesEveryCountryAndFile() {
  WindowDriver ui;
  pick(ui, "LF");
  drive([&] { openMenu(ui, "LFQQ", "mouse"); },
        {choose("Select within range of LFQQ...", {"Select within range of LFQQ..."}), type("250nm")});
  ui.button("Command5")->click();
  ui.check("Check1")->click();  // Add to actual File
  pick(ui, "EB");
  drive([&] { openMenu(ui, "EBOS", "mouse"); },
        {choose("Select within 250nm of LFQQ", {"Select within 250nm of LFQQ", "Select within range of EBOS..."})});
  QCOMPARE(selected(ui), QStringList({"EBBR", "EBLG", "EBOS"}));
  QCOMPARE(ui.count(), QStringLiteral("3 results of 3 objects."));
  ui.button("Command5")->click();
  ui.addFile("Test Navaids.csv", crlf(kNavaids));
  ui.clickFile("Test Navaids.csv");
  ui.clickCode("EG");
  drive([&] { openMenu(ui, "TLA", "menu key"); },
        {choose("Select within 250nm of LFQQ", {"Select within 250nm of LFQQ", "Select within range of TLA..."})});
  QCOMPARE(ui.count(), QStringLiteral("1 result of 2 objects."));
  ui.button("Command5")->click();
  // The dialog starts with the kept distance; Cancel keeps the range and the selection.
  drive([&] { openMenu(ui, "TLA", "mouse"); },
        {choose("Select within range of TLA...", {"Select within 250nm of LFQQ", "Select within range of TLA..."}),
         type(std::nullopt, "250nm")});
  QCOMPARE(selected(ui), QStringList({"LON"}));

  const QString expected = ui.folder() + "/near.gpx";
  for (const auto& [file, code] :
       {std::pair{"Test Airports.csv", "LF"}, {"Test Airports.csv", "EB"}, {"Test Navaids.csv", "EG"}})
    exportNear(QDir(ui.folder()).filePath(file), code, "50.5633,3.0897", "250nm", expected, QString(code) != "LF");
  QCOMPARE(contents(gpx(ui)), contents(expected));
}

void RangeTest::unusableCoordinatesDisableTheItem() {
  WindowDriver ui;
  pick(ui, "LF");
  // A click on the disabled item does nothing: Escape closes the menu.
  for (const QString ident : {"LFXX", "LFYY"}) {
    const QString item = "Select within range of " + ident + "...";
    drive([&] { openMenu(ui, ident, "mouse"); }, {choose(item, {item}, {false})});
  }
  drive([&] { openMenu(ui, "LFQQ", "mouse"); },
        {choose("Select within range of LFQQ...", {"Select within range of LFQQ..."}), type("100km")});
  WindowDriver::clickRow(ui.sorted("ListResult"), rowOf(ui, "LFMN"), Qt::LeftButton, Qt::ControlModifier);
  // The right click leaves the selection as it was, and Escape closes the menu.
  drive([&] { openMenu(ui, "LFXX", "mouse"); },
        {choose({}, {"Select within 100km of LFQQ", "Select within range of LFXX..."}, {true, false})});
  QCOMPARE(selected(ui), QStringList({"LFMN", "LFQQ"}));
  QCOMPARE(ui.count(), QStringLiteral("1 result of 6 objects."));
}

QTEST_MAIN(RangeTest)
#include "range_test.moc"

#include "windowdriver.h"

#include "gpx.h"

#include <QLocale>

namespace {

const QStringList kWaypoints = {"ABLAN;LF;45.18;5.28", "BAGNA;LF;47.05;2.90", "ABRIX;LF;44.10;1.10",
                                "ARNOD;EG;51.87;-1.92", "BRAYS;EG;52.41;0.63"};

QByteArray head() { return (skelvor::gpxDeclaration() + skelvor::gpxOpeningTag()).toUtf8(); }

QByteArray block(const char* name, const char* lat, const char* lon) {
  return QByteArray("\r\n<wpt lat=\"") + lat + "\" lon=\"" + lon + "\">\r\n <name>" + name + "</name>\r\n</wpt>";
}

QByteArray fileBytes(const QByteArray& blocks) { return head() + blocks + "</gpx>\r\n"; }

// The bytes of an exported file, once the GPX 1.0 schema has accepted it; the validator's complaint otherwise.
QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QString complaint = schemaComplaint(path);
  return complaint.isEmpty() ? file.readAll() : "not valid GPX 1.0: " + complaint.toUtf8();
}

}  // namespace

class ExportTest : public QObject {
  Q_OBJECT

 private slots:
  // The locale comes from LANG, which each registration of the test pins.
  void initTestCase() { qInfo("Locale: %s", qPrintable(QLocale().name())); }
  void countsBeforeAnyFill();
  void findReplacesAHandSelection_data();
  void findReplacesAHandSelection();
  void selectAllKeepsAHandSelection();
  void exportWritesTheSelectedRowsInListOrder();
  void nothingSelectedWritesNothing();
  void addToActualFileGathersAcrossCountries();
  void aNewNameTakesTheWholeBody();
  void aFailedWriteKeepsEverything();
  void aHundredThousandRowsExportWhole();

 private:
  static void loadCountry(WindowDriver& ui, const QString& code) {
    if (ui.sorted("ListPAYS")->ListCount() == 0) {
      ui.addFile("My Waypoints.csv", crlf(kWaypoints));
      ui.clickFile("My Waypoints.csv");
    }
    ui.clickCode(code);
  }
  static QList<bool> selection(WindowDriver& ui) {
    QList<bool> flags;
    for (qsizetype i = 0; i < ui.sorted("ListResult")->ListCount(); ++i) flags << ui.sorted("ListResult")->Selected(i);
    return flags;
  }
};

void ExportTest::countsBeforeAnyFill() {
  WindowDriver ui;
  ui.button("Command1")->click();
  QCOMPARE(ui.count(), QStringLiteral("0 result of  objects."));
  ui.button("Command2")->click();
  QCOMPARE(ui.count(), QStringLiteral("0 result of  objects."));
}

void ExportTest::findReplacesAHandSelection_data() {
  QTest::addColumn<QString>("search");
  QTest::addColumn<QList<bool>>("selected");
  QTest::addColumn<QString>("count");
  // Rows in list order: ABLAN, ABRIX, BAGNA.
  QTest::newRow("ab") << "ab" << QList<bool>{true, true, false} << "2 results of 3 objects.";
  QTest::newRow("AGN") << "AGN" << QList<bool>{false, false, true} << "1 result of 3 objects.";
  QTest::newRow("nothing") << "zzz" << QList<bool>{false, false, false} << "0 result of 3 objects.";
  QTest::newRow("identifier at the end") << "lan " << QList<bool>{true, false, false} << "1 result of 3 objects.";
  QTest::newRow("coordinates") << "|44.1" << QList<bool>{false, true, false} << "1 result of 3 objects.";
  QTest::newRow("empty") << "" << QList<bool>{true, true, true} << "3 results of 3 objects.";
  QTest::newRow("bar") << "|" << QList<bool>{true, true, true} << "3 results of 3 objects.";
}

void ExportTest::findReplacesAHandSelection() {
  QFETCH(QString, search);
  QFETCH(QList<bool>, selected);
  QFETCH(QString, count);
  WindowDriver ui;
  loadCountry(ui, "LF");
  QCOMPARE(ui.visibleRows(), QStringList({"ABLAN", "ABRIX", "BAGNA"}));
  WindowDriver::clickRow(ui.sorted("ListResult"), 2);  // a hand selection of BAGNA
  ui.edit("Text1")->setText(search);
  QTest::mouseClick(ui.button("Command1"), Qt::LeftButton);
  QCOMPARE(selection(ui), selected);
  QCOMPARE(ui.count(), count);
  QVERIFY(ui.sorted("ListResult")->isVisible());
}

void ExportTest::selectAllKeepsAHandSelection() {
  WindowDriver ui;
  loadCountry(ui, "LF");
  WindowDriver::clickRow(ui.sorted("ListResult"), 0);
  WindowDriver::clickRow(ui.sorted("ListResult"), 2, Qt::LeftButton, Qt::ControlModifier);
  QCOMPARE(selection(ui), QList<bool>({true, false, true}));
  QTest::mouseClick(ui.button("Command2"), Qt::LeftButton);
  QCOMPARE(selection(ui), QList<bool>({true, true, true}));
  QCOMPARE(ui.count(), QStringLiteral("3 results of 3 objects."));
}

void ExportTest::exportWritesTheSelectedRowsInListOrder() {
  WindowDriver ui;
  loadCountry(ui, "LF");
  WindowDriver::clickRow(ui.sorted("ListResult"), 2);
  WindowDriver::clickRow(ui.sorted("ListResult"), 0, Qt::LeftButton, Qt::ControlModifier);
  QVERIFY(!ui.check("Check1")->isVisible());
  QTest::mouseClick(ui.button("Command5"), Qt::LeftButton);
  QCOMPARE(readFile(QDir(ui.folder()).filePath("VOK.gpx")),
           fileBytes(block("ABLAN", "45.18", "5.28") + block("BAGNA", "47.05", "2.90")));
  QVERIFY(ui.check("Check1")->isVisible());
  QVERIFY(!ui.check("Check1")->isChecked());
}

void ExportTest::nothingSelectedWritesNothing() {
  WindowDriver ui;
  loadCountry(ui, "LF");
  QTest::mouseClick(ui.button("Command5"), Qt::LeftButton);
  QVERIFY(!QFile::exists(QDir(ui.folder()).filePath("VOK.gpx")));
  QVERIFY(!ui.check("Check1")->isVisible());
  QVERIFY(ui.window().VOK().CORPS().isEmpty());
}

void ExportTest::addToActualFileGathersAcrossCountries() {
  WindowDriver ui;
  loadCountry(ui, "LF");
  ui.edit("Text1")->setText("ablan");
  ui.button("Command1")->click();
  ui.button("Command5")->click();
  ui.check("Check1")->click();
  loadCountry(ui, "EG");
  ui.button("Command2")->click();
  ui.button("Command5")->click();
  const QByteArray gathered =
      block("ABLAN", "45.18", "5.28") + block("ARNOD", "51.87", "-1.92") + block("BRAYS", "52.41", "0.63");
  QCOMPARE(readFile(QDir(ui.folder()).filePath("VOK.gpx")), fileBytes(gathered));
  // Ticked with nothing selected: the file is written again with the gathered waypoints.
  WindowDriver::clickRow(ui.sorted("ListResult"), 0, Qt::LeftButton, Qt::ControlModifier);
  WindowDriver::clickRow(ui.sorted("ListResult"), 1, Qt::LeftButton, Qt::ControlModifier);
  ui.button("Command5")->click();
  QCOMPARE(readFile(QDir(ui.folder()).filePath("VOK.gpx")), fileBytes(gathered));
  // Not ticked: the body starts afresh.
  ui.check("Check1")->click();
  ui.button("Command2")->click();
  ui.button("Command5")->click();
  QCOMPARE(readFile(QDir(ui.folder()).filePath("VOK.gpx")),
           fileBytes(block("ARNOD", "51.87", "-1.92") + block("BRAYS", "52.41", "0.63")));
}

void ExportTest::aNewNameTakesTheWholeBody() {
  WindowDriver ui;
  loadCountry(ui, "EG");
  ui.button("Command2")->click();
  ui.button("Command5")->click();
  const QByteArray first = readFile(QDir(ui.folder()).filePath("VOK.gpx"));
  ui.check("Check1")->click();
  loadCountry(ui, "LF");
  WindowDriver::clickRow(ui.sorted("ListResult"), 1);
  ui.edit("Text3")->setText("Trip");
  ui.button("Command5")->click();
  QCOMPARE(readFile(QDir(ui.folder()).filePath("VOK.gpx")), first);
  QCOMPARE(
      readFile(QDir(ui.folder()).filePath("Trip.gpx")),
      fileBytes(block("ARNOD", "51.87", "-1.92") + block("BRAYS", "52.41", "0.63") + block("ABRIX", "44.10", "1.10")));
}

void ExportTest::aFailedWriteKeepsEverything() {
  WindowDriver ui;
  loadCountry(ui, "EG");
  ui.button("Command2")->click();
  ui.button("Command5")->click();
  const QString earlier = QDir(ui.folder()).filePath("VOK.gpx");
  const QByteArray first = readFile(earlier);
  const QString bodyBefore = ui.window().VOK().CORPS();

  // Another selection fails to be written, with Add to actual File unticked, then ticked: each time the body stays
  // what was exported before, so that ticking the box afterwards adds to what the file holds.
  ui.edit("Text1")->setText("brays");
  ui.button("Command1")->click();
  ui.edit("Text3")->setText("no such folder/VOK");
  for (const bool adding : {false, true}) {
    if (ui.check("Check1")->isChecked() != adding) ui.check("Check1")->click();
    const QString message = WindowDriver::acceptMessageBox([&] { ui.button("Command5")->click(); });
    QVERIFY2(message.contains(QDir::toNativeSeparators("no such folder/VOK.gpx")), qPrintable(message));
    QCOMPARE(ui.window().VOK().CORPS(), bodyBefore);
    QCOMPARE(ui.check("Check1")->isChecked(), adding);
    QCOMPARE(readFile(earlier), first);
    QVERIFY(ui.window().isVisible());
  }

  ui.edit("Text3")->setText("VOK");  // the user picks a writable name and exports again
  QTest::mouseClick(ui.button("Command5"), Qt::LeftButton);
  QCOMPARE(readFile(earlier), fileBytes(block("ARNOD", "51.87", "-1.92") + block("BRAYS", "52.41", "0.63") +
                                        block("BRAYS", "52.41", "0.63")));
}

void ExportTest::aHundredThousandRowsExportWhole() {
  WindowDriver ui;
  ui.addFile("Big Waypoints.csv", frenchWaypoints(100000));
  ui.clickFile("Big Waypoints.csv");
  ui.clickCode("LF");
  ui.button("Command2")->click();
  QCOMPARE(ui.count(), QStringLiteral("100000 results of 100000 objects."));
  ui.button("Command5")->click();
  const QByteArray written = readFile(QDir(ui.folder()).filePath("VOK.gpx"));
  QCOMPARE(written.count("<wpt "), 100000);
  QCOMPARE(written.count("\r\n"), 2 + 3 * 100000);
  QVERIFY(written.endsWith("<name>W099999</name>\r\n</wpt></gpx>\r\n"));
}

QTEST_MAIN(ExportTest)
#include "export_test.moc"

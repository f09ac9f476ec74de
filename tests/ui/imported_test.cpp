// Fix files that skelvor-import writes, and the world files shipped with the program, load in the window, list the
// fixes of a country typed by name, and export a GPX file that the GPX 1.0 schema accepts.
#include "windowdriver.h"

#include "importjob.h"

#include <QLocale>

namespace {

QString testData(const char* name) { return QStringLiteral(SKELVOR_TEST_DATA "/") + QLatin1StringView(name); }

}  // namespace

class ImportedTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void loadsPicksAndExports_data();
  void loadsPicksAndExports();
};

void ImportedTest::loadsPicksAndExports_data() {
  QTest::addColumn<QString>("source");  // "ourairports", "xplane" or a fix file to copy
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("country");
  QTest::addColumn<int>("count");
  QTest::addColumn<QString>("row");
  QTest::addColumn<QString>("waypoint");
  QTest::newRow("OurAirports airports") << "ourairports"
                                        << "Excerpt Airports.csv"
                                        << "Fra"
                                        << "France" << 5 << "LFPG (CDG) Charles de Gaulle International Airport"
                                        << "<wpt lat=\"49.00896\" lon=\"2.554117\">\r\n <name>LFPG</name>";
  QTest::newRow("OurAirports navaids") << "ourairports"
                                       << "Excerpt Navaids.csv"
                                       << "Fra"
                                       << "France" << 9 << "PGS (VOR-DME) Charles de Gaulle"
                                       << "<wpt lat=\"48.9995002746582\" lon=\"2.623810052871704\">";
  QTest::newRow("X-Plane waypoints") << "xplane"
                                     << "XP Waypoints.csv"
                                     << "united k"
                                     << "United Kingdom" << 2 << "ARNOD"
                                     << "<wpt lat=\"51.870000000\" lon=\"-1.920000000\">";
  QTest::newRow("shipped airports") << SKELVOR_DATA "/World Airports.csv"
                                    << "World Airports.csv"
                                    << "Fra"
                                    << "France" << 435 << "LFPG (CDG) Charles de Gaulle International Airport"
                                    << "<wpt lat=\"49.00896\" lon=\"2.554117\">\r\n <name>LFPG</name>";
  QTest::newRow("shipped navaids") << SKELVOR_DATA "/World Navaids.csv"
                                   << "World Navaids.csv"
                                   << "united states k1"
                                   << "United States K1" << 214 << "SEA (VORTAC) Seattle"
                                   << "<name>SEA</name>";
}

void ImportedTest::loadsPicksAndExports() {
  QFETCH(QString, source);
  QFETCH(QString, file);
  QFETCH(QString, typed);
  QFETCH(QString, country);
  QFETCH(int, count);
  QFETCH(QString, row);
  QFETCH(QString, waypoint);
  WindowDriver ui;
  if (source == u"ourairports") {
    const skelvor::ImportOutcome outcome = skelvor::importOurAirports(
        {testData("ourairports-airports.csv"), testData("ourairports-navaids.csv"), ui.folder(), "Excerpt"});
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
  } else if (source == u"xplane") {
    const skelvor::ImportOutcome outcome = skelvor::importXPlane(
        {testData("xplane-earth_fix.dat"), testData("xplane-earth_nav.dat"), false, ui.folder(), "XP"});
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
  } else {
    QVERIFY(QFile::copy(source, QDir(ui.folder()).filePath(file)));
  }
  ui.list<skelvor::FileList>("File1")->Refresh();
  ui.clickFile(file);
  ui.typeCountry(typed);
  QCOMPARE(ui.sorted("ListPAYSFull")->Text(), country);
  QCOMPARE(ui.count(), QStringLiteral("%1 objects").arg(count));
  QVERIFY2(ui.visibleRows().contains(row), qPrintable(ui.visibleRows().mid(0, 10).join(u'\n')));
  // Set SKELVOR_SCREENSHOT to a folder to look at the window of every row, its fixes selected.
  if (const QString shots = qEnvironmentVariable("SKELVOR_SCREENSHOT"); !shots.isEmpty()) {
    QTest::mouseClick(ui.button("Command2"), Qt::LeftButton);
    QVERIFY(ui.window().grab().save(QDir(shots).filePath(QString::fromUtf8(QTest::currentDataTag()) + ".png")));
  }

  QTest::mouseClick(ui.button("Command2"), Qt::LeftButton);  // Select All
  QTest::mouseClick(ui.button("Command5"), Qt::LeftButton);  // Show in PlanePlotter
  const QString gpx = QDir(ui.folder()).filePath("VOK.gpx");
  QFile written(gpx);
  QVERIFY(written.open(QIODevice::ReadOnly));
  const QByteArray bytes = written.readAll();
  QCOMPARE(bytes.count("<wpt "), count);
  QVERIFY2(bytes.contains(waypoint.toUtf8()), bytes.left(400).constData());
  const QString complaint = schemaComplaint(gpx);
  QVERIFY2(complaint.isEmpty(), qPrintable(complaint));
}

QTEST_MAIN(ImportedTest)
#include "imported_test.moc"

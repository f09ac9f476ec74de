// The export program against the window: the same file, countries and Find texts must give the same bytes.
#include "windowdriver.h"

#include <QLocale>
#include <QProcess>

namespace {

// Accented names that the user's collation orders apart from plain character codes, letter case mixed, and the four
// characters that GPX escapes, in the names that become waypoint names.
const QStringList kNavaids = {
    "VOR;LF;ÉCO;x;45.01;2.02;x;x;x;Écouché & <Orne>",
    "NDB;LF;abe;x;44.10;1.00;x;x;x;Arles \"Sud\"",
    "VOR;LF;Zed;x;46.00;3.00;x;x;x;Zèbre",
    "DME;LF;A&B;x;43.50;3.20;x;x;x;Agde <Cap>",
    "VOR;LF;ECO2;x;45.50;2.50;x;x;x;Ecole",
    "NDB;EG;\"Q\";x;51.50;-0.10;x;x;x;Quay",
    "VOR;EG;<LN>;x;51.60;-0.20;x;x;x;London",
    "VOR;LF;BAD;x;1;2;x;x",
};
const QStringList kWaypoints = {"ÉTANG;LF;45.0;5.0", "A&B;LF;1.0;2.0",  "<XY>;LF;3.0;4.0", "\"Q\";LF;5.0;6.0",
                                "abc;LF;7.0;8.0",    "Abd;LF;9.0;10.0", "ÁBE;LF;11;12",    "ŒUF;EG;51;-1",
                                "zed;EG;52;-2",      "ébène;EG;53;-3",  "short;LF;1"};
const QStringList kAirports = {"LFBZ;LF;A;BIQ;43.46;-1.52;75;2250;Biarritz & <Pays> \"Basque\"",
                               "LFÉV;LF;A;;49.02;1.21;140;2000;Évreux",
                               "lfaa;LF;A;  ;48.00;2.00;1;1;Étampes",
                               "LFXX;LF;H;;47.00;2.00;500;0;Clinique",
                               "EGLL;EG;A;LHR;51.47;-0.45;25;3900;London Heathrow",
                               "Éssex;EG;A;;51.88;0.23;106;3000;Stansted"};

QByteArray crlfWindows1252(const QStringList& lines) { return (lines.join("\r\n") + "\r\n").toLatin1(); }

// The window and the program write each file of an export in turn; null Find texts stand for Select All. The user
// may select rows by hand instead, the rows of the identifiers `picked`, which the program takes by `around`.
struct Step {
  QString country;
  QString find;
  QStringList picked = {};
  QStringList around = {};
};

}  // namespace

Q_DECLARE_METATYPE(QList<Step>)

class ExportProgramTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void writesTheBytesOfTheWindow_data();
  void writesTheBytesOfTheWindow();

 private:
  // Runs the program in `folder` on `arguments` in `locale`; fails the test unless it ends with status 0.
  static void runProgram(const QString& folder, const QStringList& arguments, const QString& locale) {
    QProcess program;
    program.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", locale);
    program.setProcessEnvironment(environment);
    program.start(SKELVOR_EXPORT_PROGRAM, arguments);
    QVERIFY(program.waitForFinished(60000));
    QVERIFY2(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0,
             program.readAllStandardError().constData());
  }
  static QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
  }
};

void ExportProgramTest::writesTheBytesOfTheWindow_data() {
  QTest::addColumn<QString>("fileName");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QList<Step>>("steps");
  QTest::addColumn<bool>("appendRuns");  // one run per step with --append, or one run with every --country
  QTest::addColumn<QString>("locale");   // the user's locale, whose collation orders the rows

  const QByteArray navaids = crlf(kNavaids);
  const QByteArray waypoints = crlf(kWaypoints);
  const QByteArray airports = crlf(kAirports);
  QTest::newRow("navaids, a code") << "Test Navaids.csv" << navaids << QList<Step>{{"LF", {}}} << false
                                   << "en_US.UTF-8";
  QTest::newRow("waypoints, a code") << "Test Waypoints.csv" << waypoints << QList<Step>{{"LF", {}}} << false
                                     << "en_US.UTF-8";
  QTest::newRow("airports, a code") << "Test Airports.csv" << airports << QList<Step>{{"LF", {}}} << false
                                    << "en_US.UTF-8";
  QTest::newRow("airports in Windows-1252, a name")
      << "Old Airports.csv" << crlfWindows1252(kAirports) << QList<Step>{{"France", {}}} << false << "en_US.UTF-8";
  QTest::newRow("navaids, Find") << "Test Navaids.csv" << navaids << QList<Step>{{"LF", "éco"}} << false
                                 << "en_US.UTF-8";
  QTest::newRow("waypoints, Find") << "Test Waypoints.csv" << waypoints << QList<Step>{{"LF", "a"}} << false
                                   << "en_US.UTF-8";
  QTest::newRow("airports, Find an entity")
      << "Test Airports.csv" << airports << QList<Step>{{"United Kingdom", "|51"}} << false << "en_US.UTF-8";
  QTest::newRow("several countries") << "Test Waypoints.csv" << waypoints
                                     << QList<Step>{{"EG", {}}, {"LF", {}}, {"EG", {}}} << false << "en_US.UTF-8";
  QTest::newRow("append after an export")
      << "Test Navaids.csv" << navaids << QList<Step>{{"EG", {}}, {"LF", "e"}, {"France", "&"}} << true
      << "en_US.UTF-8";
  QTest::newRow("waypoints, a French user")
      << "Test Waypoints.csv" << waypoints << QList<Step>{{"LF", {}}, {"EG", "e"}} << true << "fr_FR.UTF-8";
  QTest::newRow("airports within range of a point")
      << "Test Airports.csv" << airports
      << QList<Step>{{"LF", {}, {"lfaa", "LFÉV"}, {"--near", "48.5,1.5", "--within", "100km"}}} << false
      << "fr_FR.UTF-8";
#ifndef Q_OS_WIN  // a Windows user's locale is the system's, under Wine the one LC_ALL names; never C
  QTest::newRow("waypoints, the C locale")
      << "Test Waypoints.csv" << waypoints << QList<Step>{{"LF", {}}, {"EG", {}}} << false << "C";
#endif
}

void ExportProgramTest::writesTheBytesOfTheWindow() {
  QFETCH(QString, fileName);
  QFETCH(QByteArray, bytes);
  QFETCH(QList<Step>, steps);
  QFETCH(bool, appendRuns);
  QFETCH(QString, locale);

  QLocale::setDefault(QLocale(locale.section(u'.', 0, 0)));
  WindowDriver ui;
  ui.addFile(fileName, bytes);
  ui.clickFile(fileName);
  for (qsizetype i = 0; i < steps.size(); ++i) {
    const Step& step = steps.at(i);
    if (ui.sorted("ListPAYS")->Items().contains(step.country))
      ui.clickCode(step.country);
    else
      ui.clickName(step.country);
    if (!step.picked.isEmpty()) {
      auto* rows = ui.sorted("ListResult");
      for (qsizetype row = 0; row < rows->ListCount(); ++row)
        if (step.picked.contains(rows->List(row).section(u' ', 0, 0)))
          WindowDriver::clickRow(rows, row, Qt::LeftButton, Qt::ControlModifier);
    } else if (step.find.isNull()) {
      ui.button("Command2")->click();
    } else {
      ui.edit("Text1")->setText(step.find);
      ui.button("Command1")->click();
    }
    ui.button("Command5")->click();
    if (i == 0) ui.check("Check1")->click();  // "Add to actual File" from the second export on
  }
  const QByteArray windowBytes = contents(QDir(ui.folder()).filePath("VOK.gpx"));
  QVERIFY(windowBytes.contains("<wpt "));

  QTemporaryDir workFolder;
  const QString fixFile = QDir(ui.folder()).filePath(fileName);
  if (appendRuns) {
    for (qsizetype i = 0; i < steps.size(); ++i) {
      QStringList arguments = {fixFile, "--country", steps.at(i).country};
      if (!steps.at(i).find.isNull()) arguments << "--find" << steps.at(i).find;
      if (i > 0) arguments << "--append";
      runProgram(workFolder.path(), arguments, locale);
    }
  } else {
    QStringList arguments = {fixFile};
    for (const Step& step : steps) arguments << "--country" << step.country << step.around;
    if (!steps.constFirst().find.isNull()) arguments << "--find" << steps.constFirst().find;
    runProgram(workFolder.path(), arguments, locale);
  }
  QCOMPARE(contents(QDir(workFolder.path()).filePath("VOK.gpx")), windowBytes);
}

QTEST_MAIN(ExportProgramTest)
#include "export_program_test.moc"

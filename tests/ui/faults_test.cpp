#include "windowdriver.h"

#include <QGuiApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <QXmlStreamReader>

#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

// The faults a desktop meets: a binary file, an endless line, a file gone or unreadable at its click, a full disk.
// Each ends with the window answering and nothing the user gathered lost.
namespace {

const QStringList kWaypoints = {"ABLAN;LF;45.18;5.28", "BAGNA;LF;47.05;2.90", "ARNOD;EG;51.87;-1.92"};

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The waypoint names of a GPX file, once it has parsed as well-formed XML; the parser's complaint otherwise.
QStringList waypointNames(const QString& path) {
  QXmlStreamReader reader(contents(path));
  QStringList names;
  while (reader.readNext() != QXmlStreamReader::Invalid && !reader.atEnd())
    if (reader.isStartElement() && reader.name() == u"name") names << reader.readElementText();
  if (reader.hasError()) return {QStringLiteral("not well-formed: ") + reader.errorString()};
  return names;
}

// The program folder on a small file system of its own, mounted over it while the test runs as root; elsewhere a limit
// on the size of the files that the process writes stands in for it, and writing past it fails as a full disk does.
class SmallDisk {
 public:
  explicit SmallDisk(const QString& folder) : folder_(folder) {
    mounted_ = mount("skelvor-test", folder.toLocal8Bit().constData(), "tmpfs", 0, "size=1m") == 0;
    qInfo("full disk: %s", mounted_ ? "a 1 MiB tmpfs" : "a file size limit (RLIMIT_FSIZE)");
  }
  ~SmallDisk() {
    free();
    if (mounted_) umount2(folder_.toLocal8Bit().constData(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  /// Leaves no room for a file of more than a few bytes.
  void fill() {
    if (!mounted_) {
      std::signal(SIGXFSZ, SIG_IGN);
      getrlimit(RLIMIT_FSIZE, &before_);
      const rlimit tight = {1024, before_.rlim_max};
      setrlimit(RLIMIT_FSIZE, &tight);
      limited_ = true;
      return;
    }
    QFile filler(QDir(folder_).filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray chunk(4096, 'x');
    while (filler.write(chunk) == chunk.size()) {
    }
  }
  void free() {
    if (limited_) setrlimit(RLIMIT_FSIZE, &before_);
    limited_ = false;
    QFile::remove(QDir(folder_).filePath(QStringLiteral("filler")));
  }

 private:
  QString folder_;
  bool mounted_ = false;
  bool limited_ = false;
  rlimit before_{};
};

}  // namespace

class FaultsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void aBinaryFileLoadsAsText();
  void aLineOfAMegabyteLoadsAndExports();
  void aFileGoneAtItsClick_data();
  void aFileGoneAtItsClick();
  void anExportOntoAFullDisk();
  void anExportIntoAFolderWithoutWriteRights();

 private:
  // Loads the good file, picks LF and exports ABLAN, with "Add to actual File" ticked afterwards: what a user has
  // gathered when the fault comes.
  static void gather(WindowDriver& ui) {
    ui.addFile("Good Waypoints.csv", crlf(kWaypoints));
    ui.clickFile("Good Waypoints.csv");
    ui.clickCode("LF");
    WindowDriver::clickRow(ui.sorted("ListResult"), 0);
    ui.button("Command5")->click();
    QCOMPARE(waypointNames(gpx(ui)), QStringList{"ABLAN"});
    ui.check("Check1")->click();
  }
  static QString gpx(const WindowDriver& ui) { return QDir(ui.folder()).filePath("VOK.gpx"); }

  // The window shows the default pointer and no message, and goes on: the good file loads, a country fills, and an
  // export adds its waypoints behind `gathered`.
  static void answersAgain(WindowDriver& ui, const QStringList& gathered) {
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    ui.clickFile("Good Waypoints.csv");
    ui.clickCode("EG");
    ui.button("Command2")->click();
    QCOMPARE(ui.count(), QStringLiteral("1 result of 1 objects."));
    QTest::mouseClick(ui.button("Command5"), Qt::LeftButton);
    QCOMPARE(waypointNames(gpx(ui)), gathered + QStringList{"ARNOD"});
  }
};

// Bytes of every value, NUL, CR, LF and ";" among them, read as a waypoints file.
void FaultsTest::aBinaryFileLoadsAsText() {
  WindowDriver ui;
  gather(ui);
  const QString body = ui.window().VOK().CORPS();
  QByteArray junk(256 * 1024, Qt::Uninitialized);
  QRandomGenerator random(11);
  for (char& byte : junk) byte = static_cast<char>(random.bounded(256));
  ui.addFile("Junk Waypoints.csv", junk);
  QCOMPARE(WindowDriver::acceptMessageBox([&] { ui.clickFile("Junk Waypoints.csv"); }), QString());
  QVERIFY(ui.sorted("ListPAYS")->ListCount() > 0);
  WindowDriver::clickRow(ui.sorted("ListPAYS"), 0);
  ui.button("Command2")->click();
  QCOMPARE(ui.window().VOK().CORPS(), body);
  answersAgain(ui, {"ABLAN"});
}

// A line of a megabyte as a waypoint's name, and another without any ";", between ordinary lines.
void FaultsTest::aLineOfAMegabyteLoadsAndExports() {
  WindowDriver ui;
  gather(ui);
  const QString longName(1024 * 1024, u'N');
  ui.addFile("Long Waypoints.csv", crlf({"ABRIX;LF;44.10;1.10", longName + ";LF;46.00;6.00", QString(1024 * 1024, u'x'),
                                         "BRAYS;LF;52.41;0.63"}));
  ui.clickFile("Long Waypoints.csv");
  QCOMPARE(ui.sorted("ListPAYS")->Items(), QStringList{"LF"});
  ui.clickCode("LF");
  QCOMPARE(ui.count(), QStringLiteral("3 objects"));
  ui.button("Command2")->click();
  ui.button("Command5")->click();
  QCOMPARE(waypointNames(gpx(ui)), QStringList({"ABLAN", "ABRIX", "BRAYS", longName}));
  answersAgain(ui, {"ABLAN", "ABRIX", "BRAYS", longName});
}

void FaultsTest::aFileGoneAtItsClick_data() {
  QTest::addColumn<QString>("fault");
  QTest::newRow("deleted") << "deleted";
  QTest::newRow("unreadable") << "unreadable";
  QTest::newRow("a folder now") << "folder";
  QTest::newRow("a pipe now") << "pipe";
}

// The file was listed, then deleted, made unreadable, or replaced by a folder or by a pipe that no one writes to
// before the click: both lists end empty, no message comes, and the rows, the body and the written file stay.
void FaultsTest::aFileGoneAtItsClick() {
  QFETCH(QString, fault);
  WindowDriver ui;
  gather(ui);
  const QByteArray earlier = contents(gpx(ui));
  const QString body = ui.window().VOK().CORPS();
  ui.addFile("Gone Airports.csv", crlf({"LFBZ;LF;A;BIQ;43.46;-1.52;x;x;Biarritz"}));
  const QString path = QDir(ui.folder()).filePath("Gone Airports.csv");
  if (fault == "deleted" || fault == "folder" || fault == "pipe") QVERIFY(QFile::remove(path));
  if (fault == "folder") QVERIFY(QDir(ui.folder()).mkdir("Gone Airports.csv"));
  if (fault == "pipe") QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  // Root reads any file whatever its permissions; while its file system identity is another user's, it cannot.
  const bool root = geteuid() == 0;
  if (fault == "unreadable") {
    QVERIFY(QFile::setPermissions(path, {}));
    QVERIFY(QFile::setPermissions(
        ui.folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    if (root) setfsuid(65534);
  }
  const QString message = WindowDriver::acceptMessageBox([&] { ui.clickFile("Gone Airports.csv"); });
  if (fault == "unreadable" && root) setfsuid(0);
  QCOMPARE(message, QString());
  QCOMPARE(ui.sorted("ListPAYS")->ListCount(), 0);
  QCOMPARE(ui.sorted("ListPAYSFull")->ListCount(), 0);
  QCOMPARE(ui.list<skelvor::FileList>("File1")->Tag(), QStringLiteral("APT"));
  QCOMPARE(ui.visibleRows(), QStringList({"ABLAN", "BAGNA"}));
  QCOMPARE(ui.window().VOK().CORPS(), body);
  QCOMPARE(contents(gpx(ui)), earlier);
  answersAgain(ui, {"ABLAN"});
}

// An export that finds the disk full says so and changes nothing; once there is room, the next export writes the
// whole gathered body.
void FaultsTest::anExportOntoAFullDisk() {
  WindowDriver ui;
  SmallDisk disk(ui.folder());
  QByteArray many;
  for (int i = 0; i < 2000; ++i) many += QStringLiteral("F%1;LF;45.0;5.0\r\n").arg(i, 4, 10, QChar(u'0')).toLatin1();
  ui.addFile("Many Waypoints.csv", many);
  gather(ui);
  const QByteArray earlier = contents(gpx(ui));
  const QString body = ui.window().VOK().CORPS();
  ui.clickFile("Many Waypoints.csv");
  ui.clickCode("LF");
  ui.button("Command2")->click();

  disk.fill();
  const QString message = WindowDriver::acceptMessageBox([&] { ui.button("Command5")->click(); });
  disk.free();
  QVERIFY2(message.contains(QDir::toNativeSeparators(gpx(ui))), qPrintable(message));
  QCOMPARE(contents(gpx(ui)), earlier);
  QCOMPARE(ui.window().VOK().CORPS(), body);
  QVERIFY(ui.check("Check1")->isChecked());
  QCOMPARE(QDir(ui.folder()).entryList(QDir::Files),
           QStringList({"Good Waypoints.csv", "Many Waypoints.csv", "VOK.gpx"}));

  ui.button("Command5")->click();
  const QStringList names = waypointNames(gpx(ui));
  QCOMPARE(names.size(), 1 + 2000);
  QCOMPARE(names.first(), QStringLiteral("ABLAN"));
  QCOMPARE(names.last(), QStringLiteral("F1999"));
  answersAgain(ui, names);
}

// A program folder that the user may read but not write, as C:\Program Files is on Windows: the message names the
// folder and says to move Skelvor or install it; once the folder can be written, the next export writes everything.
void FaultsTest::anExportIntoAFolderWithoutWriteRights() {
  WindowDriver ui;
  gather(ui);
  const QByteArray earlier = contents(gpx(ui));
  const QString body = ui.window().VOK().CORPS();
  const auto writable = QFile::permissions(ui.folder());
  QVERIFY(QFile::setPermissions(ui.folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                                 QFile::ReadOther | QFile::ExeOther));
  // Root writes anywhere; while its file system identity is another user's, the folder's rights hold for it too.
  const bool root = geteuid() == 0;
  if (root) setfsuid(65534);
  const QString message = WindowDriver::acceptMessageBox([&] { ui.button("Command5")->click(); });
  if (root) setfsuid(0);
  QVERIFY(QFile::setPermissions(ui.folder(), writable));
  const QString advice = ": you cannot write in this folder. Move the Skelvor folder to a folder you can write to";
  QVERIFY2(message.contains(QDir::toNativeSeparators(ui.folder()) + advice), qPrintable(message));
  QCOMPARE(contents(gpx(ui)), earlier);
  QCOMPARE(ui.window().VOK().CORPS(), body);
  answersAgain(ui, {"ABLAN"});
}

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"

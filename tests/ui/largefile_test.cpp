#include "windowdriver.h"

#include "territory.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLocale>

// A fix file of 200 MB clicked in the window: the busy pointer shows while it loads, the window answers afterwards,
// and the memory that the load and a pick take stays under four times the file's size. Built in optimised builds
// without sanitizers only, where the figures mean something.
namespace {

constexpr qint64 kFileSize = 200'000'000;

// A figure of /proc/self/status, in bytes.
qint64 statusBytes(const QByteArray& field) {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith(field)) return line.mid(field.size()).trimmed().split(' ').front().toLongLong() * 1024;
  return -1;
}

// Forgets the peak of the resident memory, so that VmHWM shows the peak from now on.
bool resetPeak() {
  QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
  return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

}  // namespace

class LargeFileTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void twoHundredMegabytesLoadWithinFourTimesTheirSize();
};

void LargeFileTest::twoHundredMegabytesLoadWithinFourTimesTheirSize() {
  WindowDriver ui;
  // Waypoints of every country the table knows, in turn, written a megabyte at a time.
  skelvor::TerritoryTable table;
  skelvor::fillTerritories(table);
  QList<QByteArray> codes;
  for (const QString& entry : table) {
    const QByteArray code = entry.section(u'|', 0, 0).toLatin1();
    if (!code.isEmpty() && !codes.contains(code)) codes << code;
  }
  QFile file(QDir(ui.folder()).filePath("Large Waypoints.csv"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  qint64 lines = 0;
  QByteArray chunk;
  while (file.size() + chunk.size() < kFileSize) {
    chunk += 'W' + QByteArray::number(lines) + ';' + codes[lines % codes.size()] + ';' +
             QByteArray::number(lines % 90) + ".123456;" + QByteArray::number(lines % 180) + ".654321\r\n";
    ++lines;
    if (chunk.size() > (1 << 20)) {
      QCOMPARE(file.write(chunk), chunk.size());
      chunk.clear();
    }
  }
  QCOMPARE(file.write(chunk), chunk.size());
  file.close();
  const qint64 size = file.size();
  chunk = QByteArray();
  ui.list<skelvor::FileList>("File1")->Refresh();

  // The pointer is looked at whenever the window lets events through, as it does once during a load.
  bool busyShown = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    busyShown = busyShown || (cursor != nullptr && cursor->shape() == Qt::WaitCursor);
  });
  watcher.start(0);

  const qint64 before = statusBytes("VmRSS:");
  QVERIFY(resetPeak());
  QElapsedTimer clock;
  clock.start();
  ui.clickFile("Large Waypoints.csv");
  const qint64 loadMs = clock.elapsed();
  const qint64 afterLoad = statusBytes("VmHWM:");
  QCOMPARE(ui.sorted("ListPAYS")->ListCount(), codes.size());
  clock.restart();
  ui.clickCode("LF");
  const qint64 pickMs = clock.elapsed();
  watcher.stop();
  const qint64 peak = statusBytes("VmHWM:");
  const qint64 held = statusBytes("VmRSS:");
  QVERIFY(busyShown);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  QCOMPARE(ui.rows().size(), lines / codes.size() + (lines % codes.size() > codes.indexOf("LF") ? 1 : 0));
  ui.edit("Text1")->setText("W1");
  ui.button("Command1")->click();
  QVERIFY(ui.count().endsWith(QStringLiteral(" of %1 objects.").arg(ui.rows().size())));

  const auto megabytes = [](qint64 bytes) { return QString::number(static_cast<double>(bytes) / 1e6, 'f', 0); };
  const auto times = [size](qint64 bytes) {
    return QString::number(static_cast<double>(bytes) / static_cast<double>(size), 'f', 2);
  };
  qInfo("file %s MB, %lld lines; load %lld ms, pick of LF %lld ms", qPrintable(megabytes(size)), lines, loadMs, pickMs);
  qInfo(
      "memory above the %s MB before the click: peak during the load %s MB (%s x), peak with the pick %s MB (%s x), "
      "held afterwards %s MB (%s x)",
      qPrintable(megabytes(before)), qPrintable(megabytes(afterLoad - before)), qPrintable(times(afterLoad - before)),
      qPrintable(megabytes(peak - before)), qPrintable(times(peak - before)), qPrintable(megabytes(held - before)),
      qPrintable(times(held - before)));
  QVERIFY2(peak - before < 4 * size, qPrintable(QStringLiteral("peak %1 x the file's size").arg(times(peak - before))));
}

QTEST_MAIN(LargeFileTest)
#include "largefile_test.moc"

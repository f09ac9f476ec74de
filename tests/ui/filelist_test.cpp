#include "filelist.h"
#include "hiddenfile.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using skelvor::FileList;

class FileListTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void listsMatchingFilesOnly_data();
  void listsMatchingFilesOnly();
  void refreshSeesNewFiles();
  void clickComesFromTheUserOnly();
  void aMissingFolderListsNothing();

 private:
  void touch(const QString& name);
  QTemporaryDir folder_;
};

void FileListTest::touch(const QString& name) {
  QFile file(folder_.filePath(name));
  QVERIFY(file.open(QIODevice::WriteOnly));
}

void FileListTest::initTestCase() {
  QVERIFY(folder_.isValid());
  for (const char* name : {"b navaids.csv", "A Waypoints.CSV", "c.Csv", "notes.txt", "csv", "Aide B.pdf", "aide a.pdf",
                           "AIDE.PDF", "Help.pdf", "Aide.txt", "Hx.pdf"})
    touch(QString::fromLatin1(name));
  QVERIFY(skelvor::makeHiddenFile(folder_.filePath(QStringLiteral(".hidden.csv"))));
  QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("folder.csv")));
  QVERIFY(QDir(folder_.path()).mkdir(QStringLiteral("Aide folder.pdf")));
}

void FileListTest::listsMatchingFilesOnly_data() {
  QTest::addColumn<QString>("pattern");
  QTest::addColumn<QStringList>("names");
  QTest::newRow("fix files") << "*.CSV" << QStringList{"A Waypoints.CSV", "b navaids.csv", "c.Csv"};
  QTest::newRow("french help") << "Ai*.pdf" << QStringList{"aide a.pdf", "Aide B.pdf", "AIDE.PDF"};
  QTest::newRow("one character") << "H?.pdf" << QStringList{"Hx.pdf"};
  QTest::newRow("nothing") << "*.gpx" << QStringList{};
}

void FileListTest::listsMatchingFilesOnly() {
  QFETCH(QString, pattern);
  QFETCH(QStringList, names);
  FileList list;
  list.SetPath(folder_.path());
  list.SetPattern(pattern);
  QStringList shown;
  for (qsizetype i = 0; i < list.ListCount(); ++i) shown << list.List(i);
  QCOMPARE(shown, names);
  QCOMPARE(list.FileName(), QString());
}

void FileListTest::refreshSeesNewFiles() {
  FileList list;
  list.SetPattern(QStringLiteral("*.gpx"));
  list.SetPath(folder_.path());
  QCOMPARE(list.ListCount(), 0);
  touch(QStringLiteral("VOK.gpx"));
  QCOMPARE(list.ListCount(), 0);
  list.Refresh();
  QCOMPARE(list.ListCount(), 1);
  QVERIFY(QFile::remove(folder_.filePath(QStringLiteral("VOK.gpx"))));
}

void FileListTest::clickComesFromTheUserOnly() {
  FileList list;
  list.resize(200, 100);
  QSignalSpy clicks(&list, &FileList::click);
  list.SetPattern(QStringLiteral("*.csv"));
  list.SetPath(folder_.path());
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
  QCOMPARE(clicks.count(), 0);
  const QPoint second = list.visualRect(list.model()->index(1, 0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(list.FileName(), QStringLiteral("b navaids.csv"));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, second);  // the same file again reads it again
  QCOMPARE(clicks.count(), 2);
  QTest::mouseClick(list.viewport(), Qt::RightButton, {}, list.visualRect(list.model()->index(0, 0)).center());
  QCOMPARE(clicks.count(), 2);
  QCOMPARE(list.FileName(), QStringLiteral("b navaids.csv"));
  QTest::keyClick(&list, Qt::Key_Down);
  QCOMPARE(clicks.count(), 3);
  QCOMPARE(list.FileName(), QStringLiteral("c.Csv"));
  list.Refresh();
  QCOMPARE(clicks.count(), 3);
  QCOMPARE(list.FileName(), QString());
}

void FileListTest::aMissingFolderListsNothing() {
  FileList list;
  list.SetPath(folder_.filePath(QStringLiteral("no such folder")));
  QCOMPARE(list.ListCount(), 0);
}

QTEST_MAIN(FileListTest)
#include "filelist_test.moc"

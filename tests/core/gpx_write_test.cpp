#include "gpx.h"
#include "savefile.h"

#include "qt_printing.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/fsuid.h>
#include <unistd.h>
#endif

namespace skelvor {
namespace {

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void put(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
  ASSERT_EQ(file.write(bytes), bytes.size());
}

class WriteFileAtomically : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  // What a failed write must leave behind: a message naming the target and the earlier file untouched.
  void expectFailureNaming(const WriteResult& result, const QString& target) {
    const QString prefix = QLatin1String("Cannot write ") + QDir::toNativeSeparators(target) + QLatin1String(": ");
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.startsWith(prefix)) << result.error;
    EXPECT_GT(result.error.size(), prefix.size()) << "no reason given";
  }
  QTemporaryDir folder;
};

TEST_F(WriteFileAtomically, CreatesTheFile) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  const WriteResult result = writeFileAtomically(path, "<gpx>\r\n");
  EXPECT_TRUE(result.ok);
  EXPECT_TRUE(result.error.isEmpty()) << result.error;
  EXPECT_EQ(contentsOf(path), QByteArray("<gpx>\r\n"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("VOK.gpx")});
}

TEST_F(WriteFileAtomically, ReplacesTheWholeEarlierFile) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  put(path, "a longer earlier content");
  EXPECT_TRUE(writeFileAtomically(path, "short").ok);
  EXPECT_EQ(contentsOf(path), QByteArray("short"));
}

TEST_F(WriteFileAtomically, TakesTheContentInPieces) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  put(path, "a longer earlier content");
  const WriteResult result = writeFileAtomically(path, [](QIODevice& device) {
    return device.write("<gpx>") == 5 && device.write("") == 0 && device.write("\xC3\xA9\r\n") == 4 &&
           device.write("</gpx>") == 6;
  });
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(contentsOf(path), QByteArray("<gpx>\xC3\xA9\r\n</gpx>"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("VOK.gpx")});
}

// Large content goes on its way to the disk as it is written; the file still holds every piece, in order.
TEST_F(WriteFileAtomically, TakesMegabytesInPieces) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  QByteArray expected;
  const WriteResult result = writeFileAtomically(path, [&expected](QIODevice& device) {
    for (int piece = 0; piece < 40; ++piece) {
      const QByteArray bytes(100'000 + piece, static_cast<char>('A' + piece % 26));
      expected += bytes;
      if (device.write(bytes) != bytes.size()) return false;
    }
    return true;
  });
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_TRUE(contentsOf(path) == expected);
}

TEST_F(WriteFileAtomically, AFailedWriterLeavesTheEarlierFileAndNoTemporaryFile) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  const QByteArray earlier("earlier\0\xFF\r\n", 11);
  put(path, earlier);
  const auto failing = [](QIODevice& device) {
    device.write("the start of a new content");
    return false;
  };
  expectFailureNaming(writeFileAtomically(path, failing), path);
  EXPECT_EQ(contentsOf(path), earlier);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("VOK.gpx")});
  const QString fresh = folder.filePath(QStringLiteral("new.gpx"));
  expectFailureNaming(writeFileAtomically(fresh, failing), fresh);
  EXPECT_FALSE(QFile::exists(fresh));
}

TEST_F(WriteFileAtomically, FailsIntoAMissingSubfolder) {
  const QString path = folder.filePath(QStringLiteral("missing/VOK.gpx"));
  expectFailureNaming(writeFileAtomically(path, "x"), path);
  EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("missing"))));
}

TEST_F(WriteFileAtomically, FailsBelowARegularFile) {
  const QString plain = folder.filePath(QStringLiteral("plain"));
  put(plain, "earlier");
  const QString path = plain + QStringLiteral("/VOK.gpx");
  expectFailureNaming(writeFileAtomically(path, "x"), path);
  EXPECT_EQ(contentsOf(plain), QByteArray("earlier"));
}

TEST_F(WriteFileAtomically, FailsOnANameTheFileSystemRefusesAndLeavesNothingBehind) {
  const QString path = folder.filePath(QString(300, u'V') + QStringLiteral(".gpx"));
  expectFailureNaming(writeFileAtomically(path, "x"), path);
  EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST_F(WriteFileAtomically, FailsOnAFolderAndLeavesItAlone) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("VOK.gpx")));
  put(path + QStringLiteral("/inside"), "kept");
  expectFailureNaming(writeFileAtomically(path, "x"), path);
  EXPECT_EQ(contentsOf(path + QStringLiteral("/inside")), QByteArray("kept"));
}

#ifdef Q_OS_UNIX
// Renaming over a device or a pipe would replace it with a regular file.
TEST_F(WriteFileAtomically, RefusesToReplaceASpecialFile) {
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
  expectFailureNaming(writeFileAtomically(path, "x"), path);
  EXPECT_TRUE(QFileInfo(path).exists());
  EXPECT_FALSE(QFileInfo(path).isFile());
}
#endif

// A folder without write rights, as a user other than its owner meets it, with an earlier file in it or none: the
// message names the folder and the way out, and the earlier file stays as it was.
class WriteIntoAReadOnlyFolder : public ::testing::TestWithParam<bool> {};

TEST_P(WriteIntoAReadOnlyFolder, NamesTheFolderAndKeepsTheEarlierFile) {
  const bool earlier = GetParam();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  if (earlier) put(path, "earlier");
  const auto writable = QFile::permissions(folder.path());
  ASSERT_TRUE(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                       QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
#ifdef Q_OS_LINUX
  // Root writes anywhere; while its file system identity is another user's, the folder's rights hold for it too.
  const bool root = ::geteuid() == 0;
  if (root) ::setfsuid(65534);
#endif
  const bool enforced = !QFile(folder.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
  const WriteResult result = enforced ? writeFileAtomically(path, "new") : WriteResult{};
#ifdef Q_OS_LINUX
  if (root) ::setfsuid(0);
#endif
  QFile::setPermissions(folder.path(), writable);
  if (!enforced) GTEST_SKIP() << "folder permissions are not enforced for this user (root)";
  const QString native = QDir::toNativeSeparators(folder.path());
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.unwritableFolder, native);
  EXPECT_EQ(result.error,
            native + QStringLiteral(": you cannot write in this folder. Choose a folder you can write to."));
  EXPECT_EQ(contentsOf(path), earlier ? QByteArray("earlier") : QByteArray("(unreadable)"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), earlier);
}

INSTANTIATE_TEST_SUITE_P(WriteFileAtomically, WriteIntoAReadOnlyFolder, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "over_an_earlier_file" : "as_a_new_file"; });

}  // namespace
}  // namespace skelvor

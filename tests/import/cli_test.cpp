// Runs the built skelvor-import as a user would and checks its exit status and messages.
#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#ifdef Q_OS_LINUX
#include <grp.h>
#include <unistd.h>
#endif

namespace {

struct Ran {
  int status = -1;
  QString out;
  QString err;
};

Ran run(const QStringList& arguments) {
  QProcess process;
  // In text mode, the line ends of a Windows console program read as "\n".
  process.start(QStringLiteral(SKELVOR_IMPORT_PROGRAM), arguments, QIODevice::ReadWrite | QIODevice::Text);
  if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) return {};
  return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
          QString::fromUtf8(process.readAllStandardError())};
}

QString testData(const char* name) { return QStringLiteral(SKELVOR_TEST_DATA "/") + QLatin1StringView(name); }

struct ArgumentCase {
  const char* name;
  QStringList arguments;
  const char* message;
};

class BadArguments : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(BadArguments, ExitWithStatus2AndSayWhy) {
  const Ran result = run(GetParam().arguments);
  EXPECT_EQ(result.status, 2);
  EXPECT_TRUE(result.err.startsWith(QStringLiteral("skelvor-import: ") + GetParam().message)) << result.err;
  EXPECT_TRUE(result.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BadArguments,
    ::testing::Values(ArgumentCase{"no_source", {}, "give one source"},
                      ArgumentCase{"unknown_source", {"flightgear"}, "unknown source \"flightgear\""},
                      ArgumentCase{"unknown_option", {"xplane", "--fix", "a"}, "Unknown option 'fix'"},
                      ArgumentCase{
                          "no_airports", {"ourairports", "--navaids", "n.csv"}, "ourairports needs --airports"},
                      ArgumentCase{"no_xplane_input", {"xplane", "--terminal"}, "xplane needs --fixes"},
                      ArgumentCase{"mixed_sources", {"ourairports", "--airports", "a", "--fixes", "f"}, "--fixes"},
                      ArgumentCase{"kind_word_in_name",
                                   {"xplane", "--fixes", "f", "--name", "My Airports"},
                                   "the name must not hold \"Airport\""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Cli, AMissingInputExitsWithStatus1NamingTheFile) {
  QTemporaryDir folder;
  const QString missing = QDir(folder.path()).filePath("airports.csv");
  const Ran result = run({"ourairports", "--airports", missing, "--output", folder.path()});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, QStringLiteral("skelvor-import: %1: no such file\n").arg(QDir::toNativeSeparators(missing)));
}

TEST(Cli, ImportsAndReports) {
  QTemporaryDir folder;
  const Ran result = run({"xplane", "--fixes", testData("xplane-earth_fix.dat"), "--terminal", "--output",
                          folder.path(), "--name", "Sample XP"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.startsWith("Sample XP Waypoints.csv: 5 lines written\n")) << result.out;
  EXPECT_TRUE(QFile::exists(QDir(folder.path()).filePath("Sample XP Waypoints.csv")));
  EXPECT_FALSE(QFile::exists(QDir(folder.path()).filePath("Sample XP Navaids.csv")));
}

#ifdef Q_OS_LINUX
// skelvor-import copied into a folder that its user may read but not write, as C:\Program Files is on Windows (the
// user is nobody when the test runs as root): its default output, that folder, is refused, named with the way out.
TEST(Cli, AProgramFolderWithoutWriteRightsIsNamedWithTheWayOut) {
  QTemporaryDir top;
  const QString locked = QDir(top.path()).filePath("Skelvor");
  const QString program = QDir(locked).filePath("skelvor-import");
  ASSERT_TRUE(QDir().mkdir(locked) && QFile::copy(QStringLiteral(SKELVOR_IMPORT_PROGRAM), program));
  const QFile::Permissions open =
      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
  ASSERT_TRUE(QFile::setPermissions(top.path(), open | QFile::WriteOwner) && QFile::setPermissions(locked, open));
  QProcess process;
  process.setChildProcessModifier([] {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(126);
  });
  process.start(program, {"xplane", "--fixes", testData("xplane-earth_fix.dat")});
  ASSERT_TRUE(process.waitForFinished(60000));
  QFile::setPermissions(locked, open | QFile::WriteOwner);
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(
      QString::fromUtf8(process.readAllStandardError()),
      QStringLiteral("skelvor-import: %1: you cannot write in this folder. Move the Skelvor folder to a folder you "
                     "can write to, or install Skelvor with its installer.\n")
          .arg(QDir::toNativeSeparators(locked)));
  EXPECT_EQ(QDir(locked).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{"skelvor-import"});
}
#endif

TEST(Cli, ExplainsItselfAndItsVersion) {
  const Ran help = run({"--help"});
  EXPECT_EQ(help.status, 0);
  for (const char* word : {"ourairports", "xplane", "--airports", "--terminal", "Example"})
    EXPECT_TRUE(help.out.contains(QLatin1StringView(word))) << word;
  const Ran version = run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "skelvor-import " SKELVOR_PROJECT_VERSION "\n");
}

}  // namespace

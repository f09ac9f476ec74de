// Kills the built skelvor-import with SIGKILL while it writes a fix file, and checks that the earlier file of the same
// name stays whole and that nothing the window would list as a fix file is left behind.
#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

#ifdef Q_OS_LINUX
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

namespace {

#ifdef Q_OS_LINUX

QString testData(const char* name) { return QStringLiteral(SKELVOR_TEST_DATA "/") + QLatin1StringView(name); }

QByteArray contentOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

// Starts skelvor-import on X-Plane fixes, its output silenced; the process id, or -1.
pid_t startImport(const QString& fixes, const QString& output) {
  const QByteArray program = SKELVOR_IMPORT_PROGRAM;
  const QByteArray fixesArgument = QFile::encodeName(fixes);
  const QByteArray outputArgument = QFile::encodeName(output);
  char* argv[] = {const_cast<char*>(program.constData()),
                  const_cast<char*>("xplane"),
                  const_cast<char*>("--fixes"),
                  const_cast<char*>(fixesArgument.constData()),
                  const_cast<char*>("--output"),
                  const_cast<char*>(outputArgument.constData()),
                  nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Whether the process holds a file open in `folder`: the file it is writing, named or not yet named.
bool writesInto(pid_t pid, const QByteArray& folder) {
  const QByteArray fds = "/proc/" + QByteArray::number(pid) + "/fd";
  DIR* list = opendir(fds.constData());
  if (list == nullptr) return false;
  bool writing = false;
  while (const dirent* entry = readdir(list)) {
    char target[4096];
    const QByteArray link = fds + '/' + entry->d_name;
    const ssize_t size = readlink(link.constData(), target, sizeof target);
    if (size > 0 && QByteArray(target, size).startsWith(folder + '/')) writing = true;
  }
  closedir(list);
  return writing;
}

bool exitedNormally(pid_t pid) {
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(KilledImport, LeavesTheEarlierFileWholeAndNoFixFileBehind) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QDir root(folder.path());
  ASSERT_TRUE(root.mkpath("in") && root.mkpath("out") && root.mkpath("complete"));
  const QString fixes = root.filePath("in/earth_fix.dat");
  const QString out = QFileInfo(root.filePath("out")).canonicalFilePath();
  const QString written = QDir(out).filePath("World Waypoints.csv");

  // Input large enough to take a while to write: 20,000 en-route fixes.
  {
    QFile file(fixes);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray text = "I\n1200 Version - generated fixes\n";
    for (int i = 0; i < 20000; ++i)
      text += QString::asprintf(" %.9f %.9f FX%04d ENRT %s 2105423\n", (i % 1600) / 10.0 - 80.0,
                                (i % 3400) / 10.0 - 170.0, i % 10000, i % 2 ? "LF" : "EG")
                  .toLatin1();
    text += "99\n";
    ASSERT_EQ(file.write(text), text.size());
  }
  // The file the import writes when left alone, and the earlier world file it replaces.
  const pid_t full = startImport(fixes, root.filePath("complete"));
  ASSERT_GT(full, 0);
  ASSERT_TRUE(exitedNormally(full));
  const QByteArray complete = contentOf(root.filePath("complete/World Waypoints.csv"));
  const pid_t first = startImport(testData("xplane-earth_fix.dat"), out);
  ASSERT_GT(first, 0);
  ASSERT_TRUE(exitedNormally(first));
  const QByteArray earlier = contentOf(written);
  ASSERT_NE(earlier, complete);

  // Each kill waits a little longer after the write has begun, so that the kills land at various points of it; the
  // import is stopped before it is looked at, so a kill counts as mid-write only if the file is still open then. A
  // loaded machine may let a whole write pass between two looks: runs with no wait are added until one kill has
  // landed mid-write.
  int runs = 0, midWrite = 0, kept = 0, replaced = 0, leftovers = 0;
  const QByteArray outName = QFile::encodeName(out);
  const int delays[] = {0, 0, 100, 300, 1000, 3000};
  for (; runs < 40 && (runs < 6 || midWrite == 0); ++runs) {
    const int delayMicroseconds = runs < 6 ? delays[runs] : 0;
    const pid_t pid = startImport(fixes, out);
    ASSERT_GT(pid, 0);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
      if (!writesInto(pid, outName)) continue;
      std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds));
      kill(pid, SIGSTOP);
      if (waitpid(pid, &status, WUNTRACED) == pid && WIFSTOPPED(status)) {
        if (writesInto(pid, outName)) ++midWrite;
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
      }
      break;
    }
    // The earlier file whole, or the new one complete; never a part of it.
    const QByteArray now = contentOf(written);
    EXPECT_TRUE(now == earlier || now == complete)
        << "run " << runs << ", delay " << delayMicroseconds << " us: " << now.size() << " bytes";
    if (now == earlier) ++kept;
    if (now == complete) ++replaced;
    // The window lists only the one fix file; whatever else is left is removed before the next run.
    EXPECT_EQ(QDir(out, "*.CSV", QDir::Name | QDir::IgnoreCase, QDir::Files).entryList(),
              QStringList{"World Waypoints.csv"});
    for (const QString& name : QDir(out).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
      if (name == u"World Waypoints.csv") continue;
      ++leftovers;
      QFile::remove(QDir(out).filePath(name));
    }
    if (now != earlier) {
      QFile file(written);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(earlier) == earlier.size());
    }
  }
  std::printf(
      "killed import: %d of %d runs killed mid-write; earlier file kept %d times, replaced whole %d times; "
      "%d files left over\n",
      midWrite, runs, kept, replaced, leftovers);
  EXPECT_GT(midWrite, 0) << "no kill landed while the file was being written";
}

#endif

}  // namespace

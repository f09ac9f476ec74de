// Saving through a file that another program holds open: the tries, the waits between them, and what a failed write
// leaves behind, with the platform's replacing step played by the test.
#include "savefile.h"
#include "savefile_p.h"

#include "qt_printing.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace skelvor {
namespace {

using detail::Attempt;
using std::chrono::milliseconds;

// A replacing step that finds the file busy `busyTries` times, then ends with `last`.
struct ScriptedTries {
  int busyTries = 0;
  Attempt last = Attempt::Done;
  int tries = 0;
  Attempt operator()() { return ++tries <= busyTries ? Attempt::Busy : last; }
};

struct RetryRow {
  const char* name;
  int busyTries;
  Attempt last;
  Attempt outcome;
  int tries;
  int waitedMs;
};

class RetryWhileBusy : public ::testing::TestWithParam<RetryRow> {};

TEST_P(RetryWhileBusy, TriesAgainAfterEachWaitWhileTheFileIsBusy) {
  const RetryRow& row = GetParam();
  ScriptedTries attempt{row.busyTries, row.last};
  std::vector<milliseconds> waits;
  const Attempt outcome =
      detail::retryWhileBusy(std::ref(attempt), [&waits](milliseconds pause) { waits.push_back(pause); });
  EXPECT_EQ(outcome, row.outcome);
  EXPECT_EQ(attempt.tries, row.tries);
  milliseconds waited{0};
  for (const milliseconds pause : waits) waited += pause;
  EXPECT_EQ(waited.count(), row.waitedMs);
  EXPECT_EQ(waits.size(), static_cast<std::size_t>(row.tries - 1)) << "a wait between two tries, never after the last";
}

INSTANTIATE_TEST_SUITE_P(SaveFile, RetryWhileBusy,
                         ::testing::Values(RetryRow{"done_at_once", 0, Attempt::Done, Attempt::Done, 1, 0},
                                           RetryRow{"failed_at_once", 0, Attempt::Failed, Attempt::Failed, 1, 0},
                                           RetryRow{"free_after_one_wait", 1, Attempt::Done, Attempt::Done, 2, 50},
                                           RetryRow{"free_after_three_waits", 3, Attempt::Done, Attempt::Done, 4, 300},
                                           RetryRow{"failed_once_free", 2, Attempt::Failed, Attempt::Failed, 3, 150},
                                           RetryRow{"free_at_the_last_try", 8, Attempt::Done, Attempt::Done, 9, 2000},
                                           RetryRow{"busy_throughout", 50, Attempt::Done, Attempt::Busy, 9, 2000}),
                         [](const auto& row) { return std::string(row.param.name); });

QByteArray contentsOf(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// What writeReplacing asks of the platform, played by the test: the file is busy for the first tries, then the try
// fails with a reason of its own.
class WriteReplacing : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    QFile earlier(path);
    ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    ASSERT_EQ(earlier.write("earlier"), 7);
  }

  WriteResult write(int busyTries, const QString& reason) {
    const auto replace = [=, this](const QString&, const QString&, QString& why) {
      why = reason;
      return ++tries <= busyTries ? Attempt::Busy : Attempt::Failed;
    };
    return detail::writeReplacing(
        path, [](QIODevice& device) { return device.write("<gpx>\r\n") == 7; }, replace,
        [this](milliseconds pause) { waited += pause; });
  }

  QStringList entries() const {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
  }

  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("VOK.gpx"));
  int tries = 0;
  milliseconds waited{0};
};

TEST_F(WriteReplacing, AFileBusyThroughoutIsLeftAsItWasWithAMessageThatSaysWhatToDo) {
  const WriteResult result = write(1000, QStringLiteral("Access denied."));
  EXPECT_FALSE(result.ok);
  EXPECT_TRUE(result.busy);
  EXPECT_TRUE(result.unwritableFolder.isEmpty());
  EXPECT_EQ(result.error, QStringLiteral("Cannot write %1: another program has the file open. Close it there (or wait "
                                         "until that program is done with it), or choose another name, then export "
                                         "again.")
                              .arg(QDir::toNativeSeparators(path)));
  EXPECT_EQ(waited, milliseconds(2000));
  EXPECT_EQ(contentsOf(path), QByteArray("earlier"));
  EXPECT_EQ(entries(), QStringList{QStringLiteral("VOK.gpx")}) << "no temporary file is left";
}

TEST_F(WriteReplacing, AnotherFailureGivesTheSystemsReasonAtOnce) {
  const WriteResult result = write(0, QStringLiteral("The disk is full."));
  EXPECT_FALSE(result.ok);
  EXPECT_FALSE(result.busy);
  EXPECT_EQ(result.error, QStringLiteral("Cannot write %1: The disk is full.").arg(QDir::toNativeSeparators(path)));
  EXPECT_EQ(tries, 1);
  EXPECT_EQ(waited, milliseconds(0));
  EXPECT_EQ(contentsOf(path), QByteArray("earlier"));
  EXPECT_EQ(entries(), QStringList{QStringLiteral("VOK.gpx")});
}

}  // namespace
}  // namespace skelvor

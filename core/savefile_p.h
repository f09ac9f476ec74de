#pragma once

// The parts of savefile.cpp that its platform files and its tests share.

#include "savefile.h"

#include <QIODevice>
#include <QString>

#include <array>
#include <chrono>
#include <functional>

namespace skelvor::detail {

/// The outcome of one try at putting a written file in place of the target.
enum class Attempt { Done, Busy, Failed };

/// The waits between the tries at replacing a file that another program holds, the short ones first, two seconds in
/// all: a virus scanner, an indexer or a synchronising client lets go within a fraction of a second, a program that
/// shows the file keeps it for as long as it shows it.
inline constexpr std::array<std::chrono::milliseconds, 8> kBusyWaits{
    std::chrono::milliseconds(50),  std::chrono::milliseconds(100), std::chrono::milliseconds(150),
    std::chrono::milliseconds(200), std::chrono::milliseconds(300), std::chrono::milliseconds(400),
    std::chrono::milliseconds(400), std::chrono::milliseconds(400)};

/// Waits for the time given.
using Wait = std::function<void(std::chrono::milliseconds)>;

/// Puts the complete file `from` in place of `to` at one try; says why in `reason` when it fails.
using Replace = std::function<Attempt(const QString& from, const QString& to, QString& reason)>;

/// Runs `attempt` until it is done or fails; while it finds the file busy, waits each of kBusyWaits in turn before the
/// next try. Returns the last try's outcome: Busy when the file stayed busy through every wait.
Attempt retryWhileBusy(const std::function<Attempt()>& attempt, const Wait& wait);

/// Writes the file at `path` through a temporary file beside it, which `replace` puts in its place, tried again while
/// the file is busy. The temporary file is removed when the file is not written.
WriteResult writeReplacing(const QString& path, const std::function<bool(QIODevice&)>& writeContent,
                           const Replace& replace, const Wait& wait);

/// The platform's way of writing a file through a temporary file and putting it in place, one file for each platform:
/// savefile_unix.cpp and savefile_win.cpp.
WriteResult writeThroughTemporaryFile(const QString& path, const std::function<bool(QIODevice&)>& writeContent);

/// A failed write, with the system's reason.
WriteResult writeFailure(const QString& path, const QString& reason);

/// A file that could not be opened for writing: a folder that takes no new file is named, with the way out; any other
/// cause is the system's reason.
WriteResult openFailure(const QString& path, const QString& reason);

}  // namespace skelvor::detail

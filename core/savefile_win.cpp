// Writing a file through a temporary file on Windows, where the rename that puts it in place fails while another
// program holds the target (or the temporary file) open: a plotting program showing it, a virus scanner, the search
// indexer, a synchronising client. The rename is tried again for a while before Skelvor gives up.
#include "savefile_p.h"

#include <QDir>
#include <QFileInfo>

#include <thread>
#include <utility>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace skelvor::detail {

namespace {

const wchar_t* nativePath(const QString& path) { return reinterpret_cast<const wchar_t*>(path.utf16()); }

// Puts the file's bytes on the disk before the file takes the target's place, as QSaveFile's commit does, so that a
// power cut cannot leave an empty file under the target's name. A file that cannot be opened for it is left to the
// system.
void flushToDisk(const QString& path) {
  const HANDLE file = CreateFileW(nativePath(QDir::toNativeSeparators(path)), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(file);
  CloseHandle(file);
}

// One MoveFileEx, as QSaveFile's commit does. A file held open refuses it with a sharing or lock violation, or with
// "access denied" when the file replaced is the one held (a read-only target never gets here).
Attempt moveOver(const QString& from, const QString& to, QString& reason) {
  const QString source = QDir::toNativeSeparators(from);
  const QString target = QDir::toNativeSeparators(to);
  if (MoveFileExW(nativePath(source), nativePath(target), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return Attempt::Done;
  const DWORD error = GetLastError();
  reason = qt_error_string(static_cast<int>(error));
  const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
                    (error == ERROR_ACCESS_DENIED && QFileInfo::exists(to));
  return held ? Attempt::Busy : Attempt::Failed;
}

}  // namespace

WriteResult writeThroughTemporaryFile(const QString& path, const std::function<bool(QIODevice&)>& writeContent) {
  bool flushed = false;
  const auto replace = [&flushed](const QString& from, const QString& to, QString& reason) {
    if (!std::exchange(flushed, true)) flushToDisk(from);
    return moveOver(from, to, reason);
  };
  return writeReplacing(path, writeContent, replace,
                        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); });
}

}  // namespace skelvor::detail

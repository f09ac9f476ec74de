// Writing a file through a temporary file on Windows, where the rename that puts it in place fails while another
// program holds the target (or the temporary file) open: a plotting program showing it, a virus scanner, the search
// indexer, a synchronising client. The rename is tried again for a while before Skelvor gives up.
#include "savefile_p.h"

#include <QDir>
#include <QFileInfo>

#include <thread>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace skelvor::detail {

namespace {

const wchar_t* nativePath(const QString& path) { return reinterpret_cast<const wchar_t*>(path.utf16()); }

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
  return writeReplacing(path, writeContent, moveOver,
                        [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); });
}

}  // namespace skelvor::detail

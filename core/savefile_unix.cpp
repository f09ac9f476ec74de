// Writing a file through a temporary file on Unix, where a rename replaces a file that another program holds open.
#include "savefile_p.h"

#include <QSaveFile>

namespace skelvor::detail {

// QSaveFile writes a temporary file beside the target and renames it over the target on commit.
WriteResult writeThroughTemporaryFile(const QString& path, const std::function<bool(QIODevice&)>& writeContent) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return openFailure(path, file.errorString());
  if (!writeContent(file)) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return writeFailure(path, reason);
  }
  if (!file.commit()) return writeFailure(path, file.errorString());
  return {true, {}, {}, false};
}

}  // namespace skelvor::detail

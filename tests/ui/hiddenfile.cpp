#include "hiddenfile.h"

#include <QDir>
#include <QFile>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace skelvor {

bool makeHiddenFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.close();
#ifdef Q_OS_WIN
  const QString native = QDir::toNativeSeparators(path);
  return SetFileAttributesW(reinterpret_cast<const wchar_t*>(native.utf16()), FILE_ATTRIBUTE_HIDDEN) != 0;
#else
  return true;
#endif
}

}  // namespace skelvor

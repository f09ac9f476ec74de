#include "paths.h"

#include <QDir>

namespace skelvor {

QString inFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return QDir::toNativeSeparators(name);
  const bool endsInSeparator = folder.endsWith(u'/') || folder.endsWith(u'\\');
  return QDir::toNativeSeparators(endsInSeparator ? folder + name : folder + u'/' + name);
}

}  // namespace skelvor

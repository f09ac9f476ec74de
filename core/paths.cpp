#include "paths.h"

namespace skelvor {

QString inFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty()) return name;
  if (folder.endsWith(u'/') || folder.endsWith(u'\\')) return folder + name;
  return folder + u'/' + name;
}

}  // namespace skelvor

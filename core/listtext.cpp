#include "listtext.h"

namespace skelvor {

qsizetype pickedItem(const QStringList& items, QStringView text) {
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items.at(i) == text) return i;
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items.at(i).compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

qsizetype typeAheadMatch(const QStringList& items, QStringView typed) {
  const QString wanted = typed.toString().toUpper();
  for (qsizetype i = 0; i < items.size(); ++i) {
    const QStringView item = items[i];
    if (item.first(qMin(typed.size(), item.size())).toString().toUpper() == wanted) return i;
  }
  return -1;
}

}  // namespace skelvor

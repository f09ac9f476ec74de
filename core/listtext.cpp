#include "listtext.h"

namespace skelvor {

qsizetype pickedItem(const QStringList& items, QStringView text) {
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items.at(i) == text) return i;
  for (qsizetype i = 0; i < items.size(); ++i)
    if (items.at(i).compare(text, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

}  // namespace skelvor

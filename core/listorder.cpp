#include "listorder.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace skelvor {

ListOrder::ListOrder() { collator_.setCaseSensitivity(Qt::CaseInsensitive); }

bool ListOrder::less(const QString& a, const QString& b) const { return collator_.compare(a, b) < 0; }

QStringList ListOrder::sorted(QStringList items) const {
  // Collation keys turn each comparison of the sort into a plain byte comparison.
  std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
  keys.reserve(static_cast<std::size_t>(items.size()));
  for (qsizetype i = 0; i < items.size(); ++i) keys.emplace_back(collator_.sortKey(items.at(i)), i);
  std::stable_sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
  QStringList result;
  result.reserve(items.size());
  for (const auto& key : keys) result.append(std::move(items[key.second]));
  return result;
}

qsizetype ListOrder::insertionPlace(const QStringList& items, const QString& text) const {
  const auto place = std::upper_bound(items.begin(), items.end(), text,
                                      [this](const QString& a, const QString& b) { return less(a, b); });
  return place - items.begin();
}

}  // namespace skelvor

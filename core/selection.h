#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <utility>

namespace skelvor {

/// Runs of consecutive row indices, first and last inclusive.
using RowRanges = QList<std::pair<qsizetype, qsizetype>>;

/// The rows that Find selects: those whose whole text (coordinates included) contains `search`, letter case ignored.
struct Matches {
  RowRanges ranges;
  qsizetype count = 0;
};
Matches findRows(const QStringList& rows, QStringView search);

/// The upper case of the characters below U+0800 that have a one-character upper case.
using UpperTable = std::array<char16_t, 0x800>;

/// Find's test of one row: whether its whole text contains the search text, letter case ignored.
class RowFinder {
 public:
  explicit RowFinder(QStringView search);
  bool holds(QStringView row) const;

 private:
  const UpperTable& upper_;
  QString needle_;
};

/// "N result of T objects." or "N results of T objects.", with `total` shown as stored.
QString resultsLabel(qsizetype count, const QString& total);

}  // namespace skelvor

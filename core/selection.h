#pragma once

#include <QList>
#include <QString>
#include <QStringList>

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

/// "N result of T objects." or "N results of T objects.", with `total` shown as stored.
QString resultsLabel(qsizetype count, const QString& total);

}  // namespace skelvor

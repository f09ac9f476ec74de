#pragma once

#include "fixfile.h"
#include "largeblock.h"
#include "prefetch.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace skelvor {

/// The result row of one fix line of the given kind ("NAV", "WPT" or "APT"): the visible text, 120 spaces, "|", the
/// latitude, "|", the longitude. No row when the kind is unknown, when the line lacks a column its kind uses, or when
/// an airport line's column 2 is not exactly "A".
std::optional<QString> resultRow(QStringView line, QStringView kind);

/// The rows of every line whose country code (field 1) equals `code` exactly, in file order.
QStringList resultRows(const QStringList& lines, QStringView code, QStringView kind);
QStringList resultRows(const FixLines& lines, QStringView code, QStringView kind);

/// Result rows held without their run of 120 spaces, back to back in one buffer: a large country's rows take a
/// fraction of the room of a string each. A row's whole text is the one resultRow gives; its compact text has one space
/// for the run, and gives the same waypoint fields (waypointFieldViews) as the whole text.
class CompactRows {
 public:
  qsizetype size() const { return static_cast<qsizetype>(ends_.size()); }
  /// Row `index` with one space for its run of spaces.
  QStringView compact(qsizetype index) const {
    const auto i = static_cast<std::size_t>(index);
    const qsizetype start = i == 0 ? 0 : ends_[i - 1];
    return QStringView(text() + start, ends_[i] - start);
  }
  /// Row `index` whole, written into `room`.
  QStringView whole(qsizetype index, QString& room) const;
  /// Asks for where row `index` lies to be brought into the cache: rows read in list order are read out of the order
  /// they are held in, and each is asked for a few steps before its text is.
  void prefetchPlace(qsizetype index) const {
    const auto i = static_cast<std::size_t>(index);
    prefetch(&ends_[i == 0 ? 0 : i - 1]);
    prefetch(&gaps_[i]);
  }

 private:
  friend CompactRows compactRows(const FixLines& lines, QStringView code, QStringView kind);
  const char16_t* text() const { return static_cast<const char16_t*>(text_.data()); }

  LargeBlock text_;              // room for the rows, written only as far as they go
  std::vector<qsizetype> ends_;  // where each row ends in text_
  std::vector<qsizetype> gaps_;  // where the space that stands for the run is in each row
};

/// The rows of every line whose country code (field 1) equals `code` exactly, in file order, as resultRows gives them.
CompactRows compactRows(const FixLines& lines, QStringView code, QStringView kind);

/// "N objects", the count label after a fill.
QString objectsLabel(qsizetype count);

/// The index of the first item that begins with `typed`, letter case ignored, or -1.
qsizetype typeAheadMatch(const QStringList& items, QStringView typed);

}  // namespace skelvor

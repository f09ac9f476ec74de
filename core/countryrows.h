#pragma once

#include "fixfile.h"
#include "largeblock.h"
#include "listorder.h"
#include "prefetch.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace skelvor {

/// Runs of consecutive places of a list, first and last inclusive.
using RowRanges = QList<std::pair<qsizetype, qsizetype>>;

/// The places that Find selects, as runs, and how many they are.
struct Matches {
  RowRanges ranges;
  qsizetype count = 0;
};

/// Result rows held without their run of 120 spaces, back to back in one buffer, in file order: a large country's
/// rows take a fraction of the room of a string each. A row's whole text is the visible text, 120 spaces, "|", the
/// latitude, "|", the longitude; its compact text has one space for the run, and gives the same waypoint fields.
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
  /// Asks for where row `index` lies to be brought into the cache, a few steps before its text is read.
  void prefetchPlace(qsizetype index) const {
    const auto i = static_cast<std::size_t>(index);
    prefetch(&ends_[i == 0 ? 0 : i - 1]);
    prefetch(&gaps_[i]);
  }

 private:
  friend class CountryRows;
  const char16_t* text() const { return static_cast<const char16_t*>(text_.data()); }

  LargeBlock text_;              // room for the rows, written only as far as they go
  std::vector<qsizetype> ends_;  // where each row ends in text_
  std::vector<qsizetype> gaps_;  // where the space that stands for the run is in each row
};

/// The rows of one country of a fix file, in the order of the window's result list: one row per line of the country
/// that its kind ("NAV", "WPT" or "APT") can show, sorted by the user's collation with letter case ignored, equal rows
/// in file order. The list shows a row's whole text, built when asked for.
class CountryRows {
 public:
  CountryRows() = default;
  /// The rows of every line of `lines` whose country code (field 1) equals `code` exactly. A line gives no row when
  /// the kind is unknown, when it lacks a column its kind uses, or when an airport line's column 2 is not exactly "A".
  CountryRows(const FixLines& lines, QStringView code, QStringView kind, const ListOrder& order);
  /// The same rows in file order, to be put in list order by sort() once the lines are let go.
  CountryRows(const FixLines& lines, QStringView code, QStringView kind);
  void sort(const ListOrder& order);
  /// How many rows those lines give, without making them.
  static qsizetype count(const FixLines& lines, QStringView code, QStringView kind);

  qsizetype size() const { return rows_.size(); }
  bool isEmpty() const { return size() == 0; }
  /// The whole text of the row at `place` of the list.
  QString item(qsizetype place) const;
  /// The row at `place` with one space for its run of spaces, which gives the same waypoint fields.
  QStringView compact(qsizetype place) const { return rows_.compact(rowAt(place)); }

  /// The places whose whole text contains `search`, letter case ignored.
  Matches find(QStringView search) const;
  /// One flag per place: those Find selects with `search`, or every place without one.
  std::vector<bool> taken(const std::optional<QString>& search) const;

  /// Calls `visit` with the compact text of each place whose flag in `taken` is set, in list order.
  template <typename Visit>
  void forEachTaken(const std::vector<bool>& taken, Visit visit) const {
    const std::size_t places = std::min(taken.size(), static_cast<std::size_t>(size()));
    for (std::size_t place = 0; place < places; ++place) {
      askAhead(place);
      if (taken[place]) visit(compact(static_cast<qsizetype>(place)));
    }
  }

 private:
  // The row at `place` of the list; before sort(), rows stand in file order.
  qsizetype rowAt(qsizetype place) const { return order_.empty() ? place : order_[static_cast<std::size_t>(place)]; }
  // Rows read in list order lie out of the order they are held in: where each row lies and its text are asked for a
  // few places ahead.
  void askAhead(std::size_t place) const;

  CompactRows rows_;
  std::vector<qsizetype> order_;  // the row at each place of the list, once sorted
};

/// "N objects", the count label after a pick.
QString objectsLabel(qsizetype count);

/// "N result of T objects." or "N results of T objects.", with `total` shown as stored.
QString resultsLabel(qsizetype count, const QString& total);

}  // namespace skelvor

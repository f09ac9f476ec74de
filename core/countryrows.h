#pragma once

#include "fixfile.h"
#include "gpx.h"
#include "listorder.h"
#include "nearby.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
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

/// The rows of one country of a fix file, in the order of the window's result list: one row per line of the country
/// that its kind ("NAV", "WPT" or "APT") can show, sorted by the user's collation with letter case ignored, equal rows
/// in file order. The list shows a row's whole text, built when asked for.
class CountryRows {
 public:
  /// Room in which a row's text is written out, reused from row to row; a text given in it stays valid until the
  /// room is used again.
  using Room = QString;

  CountryRows() = default;
  /// The rows of every line of `lines` whose country code (field 1) equals `code` exactly. A line gives no row when
  /// the kind is unknown, when it lacks a column its kind uses, or when an airport line's column 2 is not exactly "A".
  /// The rows share the bytes of the lines, which take no more room for it, and hold only where each row's line
  /// starts.
  CountryRows(const FixLines& lines, QStringView code, QStringView kind, const ListOrder& order);
  /// The same rows in file order, to be put in list order by sort().
  CountryRows(const FixLines& lines, QStringView code, QStringView kind);
  void sort(const ListOrder& order);
  /// These rows in the order of `places`: the row at place i of the result is the row at places[i] of these.
  CountryRows inOrder(const std::vector<qsizetype>& places) const;
  /// The rows of one country of a fix file that lie within a range, in file order, and those it cannot place: rows
  /// whose coordinates are not plain decimal degrees in range.
  struct InRange;
  /// For each country code of the rows of `lines` that `range` takes or cannot place, in the order the codes first
  /// appear, those rows.
  static std::vector<InRange> inRange(const FixLines& lines, QStringView kind, const Range& range);
  /// A test of a fix line's bytes: whether it gives a row of `kind` that `range` takes or cannot place. The
  /// coordinates are tested first, and nothing of a line out of range is decoded or made; `range` must outlive it.
  static std::function<bool(QByteArrayView)> rangeTest(QStringView kind, const Range& range);
  /// How many rows those lines give, without making them.
  static qsizetype count(const FixLines& lines, QStringView code, QStringView kind);

  qsizetype size() const { return static_cast<qsizetype>(starts_.size()); }
  /// Whether every row's line is ASCII, and so every row's text.
  bool isAscii() const { return ascii_; }
  bool isEmpty() const { return starts_.empty(); }
  /// The whole text of the row at `place` of the list.
  QStringView item(qsizetype place, Room& room) const;
  QString item(qsizetype place) const {
    Room room;
    return item(place, room).toString();
  }
  /// The row at `place` with one space for its run of spaces, which gives the same waypoint fields.
  QStringView compact(qsizetype place, Room& room) const;
  /// Ask for the line of the row at `place` to be brought into the cache, a few steps before it is read, where the
  /// compiler offers a way to: rows read in list order lie out of the order of their lines. On the benchmarks'
  /// 300,000-line file (en_US), Find takes 3.9 ms with it and 4.3 ms without, the export of 50,000 rows 11.8 and
  /// 13.5 ms; skelvor-export of the 2,850,000 rows of bench/large_country.sh 1.31 and 1.77 s.
  void prefetchLine([[maybe_unused]] qsizetype place) const {
#if defined(__GNUC__)
    // A line of up to 48 bytes, as most are, lies in the cache lines of its first byte and of its 48th.
    const char* line = bytes_.constData() + starts_[static_cast<std::size_t>(place)];
    __builtin_prefetch(line);
    __builtin_prefetch(line + 47);
#endif
  }

  /// The places whose whole text contains `search`, letter case ignored.
  Matches find(QStringView search) const;
  /// One flag per place: those Find selects with `search`, or every place without one.
  std::vector<bool> taken(const std::optional<QString>& search) const;

  /// The waypoint fields of the row at `place`, those waypointFieldViews gives for its text, or none.
  std::optional<WaypointFieldViews> waypoint(qsizetype place, Room& room) const;

  /// The same fields as the bytes of the row's line, when the line is ASCII and no "|" stands in its coordinates;
  /// read without decoding the line or writing the row out.
  std::optional<WaypointBytes> asciiWaypoint(qsizetype place) const;

  /// Calls `visit` with each place whose flag in `taken` is set, in list order.
  template <typename Visit>
  void forEachTaken(const std::vector<bool>& taken, Visit visit) const {
    const std::size_t places = std::min(taken.size(), static_cast<std::size_t>(size()));
    for (std::size_t place = 0; place < places; ++place) {
      askAhead(place);
      if (taken[place]) visit(static_cast<qsizetype>(place));
    }
  }

 private:
  // The bytes from the start of the line of the row at `place` to the end of all lines.
  QByteArrayView from(qsizetype place) const;
  // The text of the row at `place` with a run of `gapWidth` spaces.
  QStringView text(qsizetype place, qsizetype gapWidth, Room& room) const;
  // The same written into `room`: as 16-bit text into a Room, as the bytes of an ASCII row into a std::string.
  template <typename Text>
  auto write(qsizetype place, qsizetype gapWidth, Text& room) const;
  // Rows in list order lie out of the order of their lines: each line is asked for a few places ahead.
  void askAhead(std::size_t place) const;

  QByteArray bytes_;  // the lines' bytes, shared with them
  bool utf8_ = true;
  bool ascii_ = true;
  int kind_ = 0;
  std::vector<qsizetype> starts_;  // where the line of the row at each place starts in bytes_
};

struct CountryRows::InRange {
  QString code;
  CountryRows rows;
  CountryRows unplaced;
};

/// "N objects", the count label after a pick.
QString objectsLabel(qsizetype count);

/// "N result of T objects." or "N results of T objects.", with `total` shown as stored.
QString resultsLabel(qsizetype count, const QString& total);

}  // namespace skelvor

#pragma once

#include "fixlines.h"
#include "listorder.h"
#include "rowformat.h"

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
  /// Adds `place`, which comes after every place added before it.
  void add(qsizetype place) {
    ++count;
    if (!ranges.isEmpty() && ranges.constLast().second == place - 1)
      ranges.last().second = place;
    else
      ranges.append({place, place});
  }
};

/// The rows of one country of a fix file, in the order of the window's result list: one row per line of the country
/// that its kind can show, sorted by the user's collation with letter case ignored, equal rows in file order. The rows
/// share the bytes of the lines, which take no more room for it, and hold only where each row's line starts; a row's
/// text is drawn from its line when asked for.
class CountryRows {
 public:
  /// Room in which a row's text is written out, reused from row to row; a text given in it stays valid until the
  /// room is used again.
  using Room = QString;

  CountryRows() = default;
  /// The rows of every line of `lines` whose country code (field 1) equals `code` exactly and that gives a row of
  /// `kind` ("NAV", "WPT" or "APT"), in file order.
  CountryRows(const FixLines& lines, QStringView code, QStringView kind);
  /// The same rows in list order.
  CountryRows(const FixLines& lines, QStringView code, QStringView kind, const ListOrder& order);
  /// The rows of `kind` of the lines of `lines` that start at `starts`, places in their buffer, in that order.
  CountryRows(const FixLines& lines, RowKind kind, std::vector<qsizetype> starts);

  /// How many rows those lines give, without keeping them.
  static qsizetype count(const FixLines& lines, QStringView code, QStringView kind);

  /// Puts the rows in list order.
  void sort(const ListOrder& order);

  qsizetype size() const { return static_cast<qsizetype>(starts_.size()); }
  bool isEmpty() const { return starts_.empty(); }
  /// The row at `place` of the list, read from its line.
  FixRow row(qsizetype place) const;
  /// The waypoint the GPX file writes for the row at `place`.
  WaypointText waypoint(qsizetype place) const;
  /// Whether the rows' lines are UTF-8; otherwise they are Windows-1252.
  bool isUtf8() const { return utf8_; }
  /// Whether every row's line is known to be ASCII, and so every row's text.
  bool isAscii() const { return ascii_; }
  /// The whole text of the row at `place`.
  QStringView item(qsizetype place, Room& room) const;
  QString item(qsizetype place) const {
    Room room;
    return item(place, room).toString();
  }
  /// The row at `place` with one space for its run of spaces: the same text for Find when the search holds no space,
  /// and the same key for the list order.
  QStringView compact(qsizetype place, Room& room) const;

  /// Asks for the line of the row at `place` to be brought into the cache, where the compiler offers a way to. Rows
  /// in list order lie out of the order of their lines, each a cache miss in a large file: Find, the export and the
  /// check of the list order ask for the row kReadAhead places ahead of the one they read. skelvor-export of the
  /// 2,850,000 rows of bench/large_country.sh takes 2.6 to 3.3 s with it and 3.7 to 4.0 s without, against a target of
  /// 1.5 s (en_US); on 50,000 rows it makes no difference.
  void willRead([[maybe_unused]] qsizetype place) const {
#if defined(__GNUC__)
    __builtin_prefetch(bytes_.constData() + starts_[static_cast<std::size_t>(place)]);
#endif
  }
  static constexpr qsizetype kReadAhead = 8;

  /// The places whose whole text contains `search`, letter case ignored.
  Matches find(QStringView search) const;
  /// One flag per place: those Find selects with `search`, or every place without one.
  std::vector<bool> taken(const std::optional<QString>& search) const;

 private:
  QStringView text(qsizetype place, qsizetype gap, Room& room) const;
  // Puts the row at places[i] at place i; nothing changes when `places` is empty.
  void reorder(const std::vector<qsizetype>& places);

  QByteArray bytes_;  // the lines' bytes, shared with them
  bool utf8_ = true;
  bool ascii_ = true;
  RowKind kind_ = RowKind::None;
  std::vector<qsizetype> starts_;  // where the line of the row at each place starts in bytes_
};

}  // namespace skelvor

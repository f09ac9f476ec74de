#pragma once

#include "fixlines.h"
#include "fixtext.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <variant>
#include <vector>

namespace skelvor {

/// Keeps every line of a fix file; the file is then read whole, and the lines keep its bytes as they are.
struct EveryLine {};

/// Keeps the lines whose country code (field 1) is one of `codes`, written as a file in UTF-8 (`utf8`) or
/// Windows-1252 writes them: the encoding that an earlier read of the file found. No code keeps no line.
struct CodesFilter {
  QStringList codes;
  bool utf8 = true;
};

/// Keeps the lines for which the test, given a line's bytes, is true. A byte-order mark still begins the first line
/// it is given, since only the whole file tells whether it is one.
using LineTest = std::function<bool(QByteArrayView)>;

/// Which lines of a fix file a read keeps.
using LineFilter = std::variant<EveryLine, CodesFilter, LineTest>;

/// The outcome of reading a fix file: the lines kept and every country code of the file; or no lines, no codes and
/// the reason.
struct FixFileLines {
  bool ok = false;
  QString error;
  /// Each distinct country code of the whole file, as collectCodes gives them for its lines.
  QStringList codes;
  /// The room the lines of each code take, in the order of `codes`: their bytes with one line end each, their number.
  struct Room {
    qsizetype bytes = 0;
    qsizetype lines = 0;
  };
  std::vector<Room> room;
  /// The lines kept, in order, decoded as the whole file decodes (isUtf8 tells how, even when none is kept).
  FixLines lines;
};

/// Reads the fix file at `path` and keeps the lines that `filter` takes; only regular files are read. Every line is
/// read with the file whole, as one block; otherwise the file is read a block at a time, so that only a block and the
/// lines kept take room.
FixFileLines readFixFileLines(const QString& path, const LineFilter& filter = EveryLine{});

/// The kind that a file name tells: "NAV" for a name containing "Navaid", "WPT" for "Waypoint", "APT" for "Airport"
/// (case-sensitive; a later word wins), or `previous` when it holds none of them.
QString fileKind(const QString& fileName, const QString& previous);

}  // namespace skelvor

#pragma once

#include "fixlines.h"
#include "fixtext.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace skelvor {

/// The outcome of reading a fix file into FixLines: its lines, or no lines and the reason.
struct FixFileLines {
  bool ok = false;
  QString error;
  FixLines lines;
};

/// Reads the fix file at `path` whole, keeping its lines as FixLines; only regular files are read.
FixFileLines readFixFileLines(const QString& path);

/// How a fix file of `size` bytes is read for an export of some of its countries: whole, which is quickest up to a few
/// megabytes, or in two passes a block at a time (readFixFileCodes, then readFixFileLinesOf), so that a larger file
/// never takes its own size in memory.
bool readInTwoPasses(qint64 size);

/// Which state of a file was read: its size and the time of its last change.
struct FixFileStamp {
  qint64 size = 0;
  QDateTime modified;
  bool operator==(const FixFileStamp&) const = default;
};

/// What a first pass over a fix file found, read a block at a time so that the file never takes its own size in
/// memory: its codes as collectCodes gives them for the whole file, and whether it decodes as UTF-8; or the reason it
/// cannot be read.
struct FixFileCodes {
  bool ok = false;
  QString error;
  QStringList codes;
  bool utf8 = true;
  FixFileStamp stamp;
  /// The room the lines of each code take, in the order of `codes`: their bytes with a line end each, their number.
  struct Room {
    qsizetype bytes;
    qsizetype lines;
  };
  std::vector<Room> room;
};
FixFileCodes readFixFileCodes(const QString& path);

/// A second pass over the fix file of `file`, for the lines whose country code is one of `codes`: those lines, in
/// order, as the lines of readFixFileLines(path) with those codes, decoded as the whole file decodes, so that only they
/// take room; or, when they make up most of the file, every line, since the file is read quicker whole then. The reason
/// is given, and no line, when the file cannot be read or changed since the first pass.
FixFileLines readFixFileLinesOf(const QString& path, const FixFileCodes& file, const QStringList& codes);

/// The lines of a fix file that a test took, and every country code of the file; or no lines and the reason.
struct FixFileSelection {
  bool ok = false;
  QString error;
  QStringList codes;
  FixLines lines;
};

/// Reads the fix file at `path` a block at a time, in one pass, and keeps the lines for which `keep` (given a line's
/// bytes) is true, decoded as the whole file decodes, so that only they take room; with the file's codes as
/// collectCodes gives them for the whole file. A byte-order mark still begins the first line that `keep` is given.
FixFileSelection readFixFileLinesWhere(const QString& path, const std::function<bool(QByteArrayView)>& keep);

/// The kind that a file name tells: "NAV" for a name containing "Navaid", "WPT" for "Waypoint", "APT" for "Airport"
/// (case-sensitive; a later word wins), or `previous` when it holds none of them.
QString fileKind(const QString& fileName, const QString& previous);

}  // namespace skelvor

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace skelvor {

/// File kinds, as the file list's Tag carries them.
inline constexpr char kNavaids[] = "NAV";
inline constexpr char kWaypoints[] = "WPT";
inline constexpr char kAirports[] = "APT";

/// The text of a fix file: UTF-8 when the bytes are valid UTF-8 (a leading byte-order mark skipped), otherwise
/// Windows-1252, in which every byte value stands for a character.
QString decodeFixText(const QByteArray& bytes);

/// The lines of a text: CR LF, a lone LF and a lone CR each end a line; the last line counts whether or not a line
/// end follows it, and the empty piece after a final line end is no line.
QStringList splitLines(QStringView text);

/// The outcome of reading a fix file: its lines, or no lines and the reason.
struct FixFile {
  bool ok = false;
  QString error;
  QStringList lines;
};

/// Reads the fix file at `path` whole and splits it into lines.
FixFile readFixFile(const QString& path);

struct FixFileCodes;
struct FixFileLines;

/// The lines of a fix file, held as the file's own bytes and the end of each line, which takes about the file's size
/// in memory (a string per line takes three to four times as much). A line is decoded when it is read. The lines and
/// their texts are those that splitLines(decodeFixText(bytes)) gives.
class FixLines {
 public:
  FixLines() = default;
  explicit FixLines(QByteArray bytes);

  qsizetype size() const { return static_cast<qsizetype>(ends_.size()); }
  bool isEmpty() const { return ends_.empty(); }
  /// The bytes of all lines together, line ends included.
  qsizetype byteCount() const { return bytes_.size() - begin_; }
  /// Line `index`, decoded.
  QString at(qsizetype index) const;
  /// Every line, decoded.
  QStringList toStringList() const;

  /// The bytes of line `index`, without its line end.
  QByteArrayView bytes(qsizetype index) const;
  /// Calls `visit` with the bytes of every line, in order.
  template <typename Visit>
  void forEachLine(Visit visit) const {
    qsizetype start = begin_;
    for (const qsizetype end : ends_) {
      visit(QByteArrayView(bytes_.constData() + start, end - start));
      start = end < bytes_.size() ? lineStartAfter(end) : end;
    }
  }
  /// Decodes `bytes`, a piece of one line, into `out`, whose room is reused.
  void decode(QByteArrayView bytes, QString& out) const { decode(bytes, utf8_, out); }
  /// Decodes `bytes` as lines decode that are UTF-8 (`utf8`) or Windows-1252.
  static void decode(QByteArrayView bytes, bool utf8, QString& out);
  /// Whether the lines are UTF-8; otherwise they are Windows-1252.
  bool isUtf8() const { return utf8_; }
  /// The bytes that hold the lines, each followed by its line end (the last perhaps by none); the views that
  /// forEachLine gives point into them.
  const QByteArray& buffer() const { return bytes_; }
  /// `text` as these lines write it, or nothing when no piece of them can decode to it.
  std::optional<QByteArray> encode(QStringView text) const;

  /// For each of `codes`, the lines whose country code (field 1) is that code, in order, found in one pass. They decode
  /// as these lines decode, and take about their own bytes in memory, so the file can be let go once they are made.
  std::vector<FixLines> linesByCode(const QStringList& codes) const;

 private:
  friend FixFileCodes readFixFileCodes(const QString& path);
  friend FixFileLines readFixFileLinesOf(const QString& path, const FixFileCodes& file, const QStringList& codes);

  // Where the line after the line end at `end` starts: past CR LF, or past a lone CR or LF.
  qsizetype lineStartAfter(qsizetype end) const {
    const bool crLf = bytes_.at(end) == '\r' && end + 1 < bytes_.size() && bytes_.at(end + 1) == '\n';
    return end + (crLf ? 2 : 1);
  }

  QByteArray bytes_;
  qsizetype begin_ = 0;  // where the text starts: after a byte-order mark, if any
  bool utf8_ = true;
  std::vector<qsizetype> ends_;  // where each line ends, before its line end
};

/// The outcome of reading a fix file into FixLines: its lines, or no lines and the reason.
struct FixFileLines {
  bool ok = false;
  QString error;
  FixLines lines;
};

/// Reads the fix file at `path` whole, as readFixFile does, keeping its lines as FixLines.
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

/// Each distinct country code (field 1, taken unchanged) once, in the order of first appearance. A line with fewer
/// than two fields adds nothing; an empty field 1 is a code like any other.
QStringList collectCodes(const QStringList& lines);
QStringList collectCodes(const FixLines& lines);

/// The kind that a file name tells: "NAV" for a name containing "Navaid", "WPT" for "Waypoint", "APT" for "Airport"
/// (case-sensitive; a later word wins), or `previous` when it holds none of them.
QString fileKind(const QString& fileName, const QString& previous);

namespace detail {

/// Field 1 of a line, the text between its first and second ";" (or the line end), or nothing when the line has no
/// ";" and so fewer than two fields.
std::optional<QStringView> countryField(QStringView line);
std::optional<QByteArrayView> countryField(QByteArrayView line);

}  // namespace detail

}  // namespace skelvor

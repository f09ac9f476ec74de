#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

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

/// The outcome of reading the bytes of a fix file: its bytes, or none and the reason.
struct FixBytes {
  bool ok = false;
  QString error;
  QByteArray bytes;
};

/// Reads the bytes of the fix file at `path` whole.
FixBytes readFixBytes(const QString& path);

/// Calls `visit` with the lines of a fix file's bytes, a run of whole lines at a time, in file order. Together the runs
/// hold exactly the lines of splitLines(decodeFixText(bytes)), yet only about `runBytes` of the file are held as text
/// at a time.
void visitFixLines(const QByteArray& bytes, const std::function<void(const QStringList& lines)>& visit,
                   qsizetype runBytes = 1 << 16);

/// Each distinct country code (field 1, taken unchanged) once, in the order of first appearance. A line with fewer
/// than two fields adds nothing; an empty field 1 is a code like any other.
QStringList collectCodes(const QStringList& lines);

/// The kind that a file name tells: "NAV" for a name containing "Navaid", "WPT" for "Waypoint", "APT" for "Airport"
/// (case-sensitive; a later word wins), or `previous` when it holds none of them.
QString fileKind(const QString& fileName, const QString& previous);

namespace detail {

/// Field 1 of a line, the text between its first and second ";" (or the line end), or nothing when the line has no
/// ";" and so fewer than two fields.
std::optional<QStringView> countryField(QStringView line);

}  // namespace detail

}  // namespace skelvor

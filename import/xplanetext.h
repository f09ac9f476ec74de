#pragma once

#include <QString>
#include <QStringView>

#include <array>

namespace skelvor::detail {

/// The two header lines of an X-Plane navigation data file, checked: the version, and where the records begin; or why
/// the text is refused.
struct XPlaneHeader {
  QString error;
  qint64 version = 0;
  qsizetype bodyStart = 0;  ///< offset of the first line after the header
  qsizetype bodyLine = 3;   ///< its line number, counted from 1
};

/// The oldest version whose records carry the ICAO region code.
inline constexpr qint64 kFirstVersionWithRegions = 1100;

/// Checks the header: a first line "I" or "A", a second line that begins with a version number of 1100 or later.
XPlaneHeader readXPlaneHeader(QStringView text);

/// The blank-separated fields of a record line: at most N, the last of them holding the rest of the line from its
/// first character, inner blanks included and trailing blanks left out.
template <std::size_t N>
struct XPlaneFields {
  std::array<QStringView, N> field{};
  qsizetype count = 0;
};

/// Splits `line` at runs of spaces and tabs into at most N fields.
template <std::size_t N>
XPlaneFields<N> splitXPlaneFields(QStringView line) {
  XPlaneFields<N> out;
  const auto blank = [](QChar c) { return c == u' ' || c == u'\t'; };
  qsizetype end = line.size();
  while (end > 0 && blank(line[end - 1])) --end;
  qsizetype pos = 0;
  while (pos < end && out.count < static_cast<qsizetype>(N)) {
    while (pos < end && blank(line[pos])) ++pos;
    if (pos == end) break;
    qsizetype stop = pos;
    if (out.count + 1 == static_cast<qsizetype>(N)) {
      stop = end;
    } else {
      while (stop < end && !blank(line[stop])) ++stop;
    }
    out.field[static_cast<std::size_t>(out.count++)] = line.sliced(pos, stop - pos);
    pos = stop;
  }
  return out;
}

/// Calls `record(lineNumber, line)` for each line of the body in order, blank lines left out, up to the line "99" or
/// the end of the text. Lines end with CR LF, LF or a lone CR.
template <typename Record>
void forEachXPlaneRecord(QStringView text, const XPlaneHeader& header, Record&& record) {
  qsizetype pos = header.bodyStart;
  qsizetype number = header.bodyLine;
  const qsizetype size = text.size();
  while (pos < size) {
    qsizetype stop = pos;
    while (stop < size && text[stop] != u'\n' && text[stop] != u'\r') ++stop;
    const QStringView line = text.sliced(pos, stop - pos).trimmed();
    if (line == u"99") return;
    if (!line.isEmpty()) record(number, line);
    ++number;
    // One line end: CR LF, LF or CR.
    pos = stop;
    if (pos < size && text[pos] == u'\r') ++pos;
    if (pos < size && text[pos] == u'\n') ++pos;
  }
}

}  // namespace skelvor::detail

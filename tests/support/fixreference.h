#pragma once

// The plain string reading of fix files that the core's byte-based reading is checked against: the whole text decoded,
// split into one string a line, codes collected from the strings.
#include "fixfile.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace skelvor {

namespace detail {

/// Field 1 of a line, the text between its first and second ";" (or the line end), or nothing when the line has no
/// ";" and so fewer than two fields.
inline std::optional<QStringView> countryField(QStringView line) {
  // Field 0 of a fix line is a few characters long: a plain scan beats a general search that first sets itself up.
  const char16_t* const begin = line.utf16();
  const char16_t* const end = begin + line.size();
  const char16_t* start = begin;
  while (start != end && *start != u';') ++start;
  if (start == end) return std::nullopt;
  const char16_t* stop = ++start;
  while (stop != end && *stop != u';') ++stop;
  return QStringView(start, stop);
}

}  // namespace detail

/// The lines of a text: CR LF, a lone LF and a lone CR each end a line; the last line counts whether or not a line
/// end follows it, and the empty piece after a final line end is no line.
inline QStringList splitLines(QStringView text) {
  // Reserving up front spares a large file the copies of a growing list; a file with CR-only line ends, which is rare,
  // just lets the list grow.
  QStringList lines;
  lines.reserve(text.count(u'\n') + 1);
  const char16_t* const end = text.utf16() + text.size();
  const char16_t* start = text.utf16();
  for (const char16_t* p = start; p != end; ++p) {
    // Every character above CR is line content; one comparison settles almost all of them.
    if (*p > u'\r' || (*p != u'\r' && *p != u'\n')) continue;
    lines.append(QStringView(start, p).toString());
    if (*p == u'\r' && p + 1 != end && p[1] == u'\n') ++p;
    start = p + 1;
  }
  if (start != end) lines.append(QStringView(start, end).toString());
  return lines;
}

/// Every line of `lines`, decoded.
inline QStringList toStringList(const FixLines& lines) {
  QStringList texts;
  QString text;
  lines.forEachLine([&](QByteArrayView bytes) {
    lines.decode(bytes, text);
    texts.append(text);
  });
  return texts;
}

/// The outcome of reading a fix file: its lines, or no lines and the reason.
struct FixFile {
  bool ok = false;
  QString error;
  QStringList lines;
};

/// Reads the fix file at `path` whole and splits it into lines; a file that readFixFileLines refuses is refused with
/// its reason.
inline FixFile readFixFile(const QString& path) {
  const FixFileLines read = readFixFileLines(path);
  if (!read.ok) return {false, read.error, {}};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {false, file.errorString(), {}};
  return {true, {}, splitLines(decodeFixText(file.readAll()))};
}

/// Each distinct country code (field 1, taken unchanged) once, in the order of first appearance.
inline QStringList collectCodes(const QStringList& lines) {
  // The views point into `lines`, which outlives the set: no copy of a code is made until it is new.
  QSet<QStringView> seen;
  QStringList codes;
  for (const QString& line : lines) {
    const std::optional<QStringView> code = detail::countryField(line);
    if (!code) continue;
    const qsizetype before = seen.size();
    seen.insert(*code);
    if (seen.size() != before) codes.append(code->toString());
  }
  return codes;
}

}  // namespace skelvor

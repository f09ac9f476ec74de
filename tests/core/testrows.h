#pragma once

// Result rows as the row builder lays them out, and generated inputs shared by the tests that read fix files or rows.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <iterator>

namespace skelvor {

/// The visible text, 120 spaces, "|", the latitude, "|", the longitude.
inline QString testRow(QStringView visible, QStringView latitude, QStringView longitude) {
  return visible.toString() + QString(120, u' ') + u'|' + latitude.toString() + u'|' + longitude.toString();
}

/// The texts that make up one generated item: a list text alone, or the pieces of a result row.
struct GeneratedRow {
  QString visible;
  bool plain = false;  // a code or a country name, without coordinates
  QString latitude;
  QString longitude;
};

/// Result rows and list texts drawn from pieces that collations treat in different ways: letter case, accents that
/// only break ties, digits, punctuation, spaces, characters beyond Latin-1, an ignorable control character, and visible
/// texts that repeat with other coordinates. The same seed gives the same rows everywhere.
inline QList<GeneratedRow> generatedRows(int count) {
  using namespace Qt::StringLiterals;
  static const QStringList pieces = {
      u"a"_s,  u"A"_s, u"e"_s,  u"\u00E9"_s, u"\u00C9"_s, u"E"_s,      u"o"_s,      u"\u00F4"_s, u"Z"_s,    u"z"_s,
      u"ch"_s, u"0"_s, u"1"_s,  u"9"_s,      u"10"_s,     u"-"_s,      u"'"_s,      u"."_s,      u"|"_s,    u"_"_s,
      u"("_s,  u" "_s, u"  "_s, u"\u00DF"_s, u"ss"_s,     u"\u00E6"_s, u"\u03A9"_s, u"\u0416"_s, u"\x01"_s, u"&"_s};
  std::uint64_t state = 2024;
  const auto next = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % bound;
  };
  QList<GeneratedRow> rows;
  QStringList visibleTexts;
  for (int i = 0; i < count; ++i) {
    GeneratedRow row;
    if (!visibleTexts.isEmpty() && next(4) == 0) {
      row.visible = visibleTexts.at(static_cast<qsizetype>(next(static_cast<std::uint64_t>(visibleTexts.size()))));
    } else {
      const auto length = 1 + next(6);
      for (std::uint64_t k = 0; k < length; ++k)
        row.visible += pieces.at(static_cast<qsizetype>(next(static_cast<std::uint64_t>(pieces.size()))));
      visibleTexts.append(row.visible);
    }
    row.plain = next(3) == 0;
    if (!row.plain) {
      row.latitude = QString::number(static_cast<int>(next(180)) - 90) + u'.' + QString::number(next(1000));
      row.longitude = QString::number(next(360));
    }
    rows.append(row);
  }
  return rows;
}

/// The generated rows as list items: a plain text alone, a row as the row builder lays it out.
inline QStringList generatedItems(int count) {
  QStringList items;
  for (const GeneratedRow& row : generatedRows(count))
    items.append(row.plain ? row.visible : testRow(row.visible, row.latitude, row.longitude));
  return items;
}

/// Byte strings drawn from pieces that matter to reading: line ends of every kind, fields, UTF-8 and Windows-1252
/// accents, byte-order marks, an airport's "A", bars, and runs long enough to span several blocks of the line scan. The
/// same seed gives the same files everywhere.
inline QList<QByteArray> generatedFixFiles() {
  static const char* const pieces[] = {
      "WP1",      ";",    ";LF;", ";lf;",         ";;", "\r\n", "\n", "\r",
      "\xC3\xA9", "\xE9", "\x80", "\xEF\xBB\xBF", " ",  "45.5", "\t", "0123456789ABCDEFGHIJ",
      "A",        "|"};
  std::uint64_t state = 7;
  const auto next = [&state](std::uint64_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return (state >> 33) % bound;
  };
  QList<QByteArray> files = {"", "\xEF\xBB\xBF", "\xEF\xBB\xBF\r\n", "a\r", "\r\n\r\n"};
  for (int i = 0; i < 600; ++i) {
    QByteArray bytes;
    const auto count = next(40);
    for (std::uint64_t k = 0; k < count; ++k) bytes += pieces[next(std::size(pieces))];
    files.append(bytes);
  }
  return files;
}

}  // namespace skelvor

#pragma once

// What the fuzz targets share: a property check that stops the run, and the line count their bounds are measured in.
#include <QString>
#include <QStringView>

#include <cstdlib>
#include <initializer_list>

namespace skelvor::fuzz {

/// Stops the run, as a crash would, when a property does not hold.
inline void check(bool holds) {
  if (!holds) std::abort();
}

/// The lines of a text, each of CR LF, LF and a lone CR ending one.
inline qsizetype lineCount(QStringView text) {
  qsizetype lines = 1;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) ++lines;
  return lines;
}

/// Items that each name a `line` come in the order of their lines, after line `after` and not past line `lines`.
template <typename Items>
void checkLineOrder(const Items& items, qsizetype after, qsizetype lines) {
  for (const auto& item : items) {
    check(item.line > after && item.line <= lines);
    after = item.line;
  }
}

/// The total length of some texts.
inline qsizetype sizes(std::initializer_list<const QString*> texts) {
  qsizetype total = 0;
  for (const QString* text : texts) total += text->size();
  return total;
}

}  // namespace skelvor::fuzz

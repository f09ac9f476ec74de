#pragma once

// What the fuzz targets share: a property check that stops the run, and the line count their bounds are measured in.
#include <QStringView>

#include <cstdlib>

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

}  // namespace skelvor::fuzz

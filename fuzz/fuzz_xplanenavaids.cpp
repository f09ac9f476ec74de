// Fuzz target: arbitrary bytes as X-Plane's earth_nav.dat, through the navaid reader. Whatever the bytes, the result is
// bounded by the input: at most one navaid or skipped row a line, and no more text in the navaids than the input holds.
#include "fixfile.h"
#include "xplanenavaids.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds) {
  if (!holds) std::abort();
}

// The lines of the text, each of CR LF, LF and a lone CR ending one.
qsizetype lineCount(QStringView text) {
  qsizetype lines = 1;
  for (qsizetype i = 0; i < text.size(); ++i)
    if (text[i] == u'\n' || (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))) ++lines;
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  const QString text = decodeFixText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const qsizetype lines = lineCount(text);
  const XPlaneNavaidsRead read = readXPlaneNavaids(text);
  check(read.ok() || (read.navaids.isEmpty() && read.skipped.isEmpty()));
  check(read.error.size() <= 300);
  // Records follow the two header lines, one a line, in the order of the lines.
  check(read.navaids.size() + read.skipped.size() <= lines);
  qsizetype previous = 2;
  qsizetype produced = 0;
  for (const XPlaneNavaid& navaid : read.navaids) {
    check(navaid.line > previous && navaid.line <= lines);
    previous = navaid.line;
    check(navaid.region.size() == 2 && !navaid.frequency.isEmpty());
    produced += navaid.latitude.size() + navaid.longitude.size() + navaid.elevation.size() + navaid.frequency.size() +
                navaid.range.size() + navaid.variation.size() + navaid.ident.size() + navaid.terminalArea.size() +
                navaid.region.size() + navaid.name.size();
  }
  check(produced <= text.size());
  previous = 2;
  for (const Skipped& row : read.skipped) {
    check(row.line > previous && row.line <= lines && row.detail.size() <= 80);
    previous = row.line;
  }
  return 0;
}

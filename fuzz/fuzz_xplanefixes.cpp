// Fuzz target: arbitrary bytes as X-Plane's earth_fix.dat, through the fix reader. Whatever the bytes, the result is
// bounded by the input: at most one fix or skipped row a line, and no more text in the fixes than the input holds.
#include "fixfile.h"
#include "xplanefixes.h"

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
  const XPlaneFixesRead read = readXPlaneFixes(text);
  check(read.ok() || (read.fixes.isEmpty() && read.skipped.isEmpty()));
  check(read.error.size() <= 300);
  // Records follow the two header lines, one a line, in the order of the lines.
  check(read.fixes.size() + read.skipped.size() <= lines);
  qsizetype previous = 2;
  qsizetype produced = 0;
  for (const XPlaneFix& fix : read.fixes) {
    check(fix.line > previous && fix.line <= lines);
    previous = fix.line;
    check(fix.region.size() == 2 && !fix.latitude.isEmpty() && !fix.longitude.isEmpty());
    produced +=
        fix.latitude.size() + fix.longitude.size() + fix.ident.size() + fix.terminalArea.size() + fix.region.size();
  }
  check(produced <= text.size());
  previous = 2;
  for (const Skipped& row : read.skipped) {
    check(row.line > previous && row.line <= lines && row.detail.size() <= 80);
    previous = row.line;
  }
  return 0;
}

// Fuzz target: arbitrary bytes as X-Plane's earth_fix.dat, through the fix reader. Whatever the bytes, the result is
// bounded by the input: at most one fix or skipped row a line, and no more text in the fixes than the input holds.
#include "fixfile.h"
#include "fuzzcheck.h"
#include "xplanefixes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QString text = decodeFixText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const qsizetype lines = fuzz::lineCount(text);
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

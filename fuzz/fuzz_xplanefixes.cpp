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
  fuzz::checkLineOrder(read.fixes, 2, lines);
  fuzz::checkLineOrder(read.skipped, 2, lines);
  qsizetype produced = 0;
  for (const XPlaneFix& fix : read.fixes) {
    check(fix.region.size() == 2 && !fix.latitude.isEmpty() && !fix.longitude.isEmpty());
    produced += fuzz::sizes({&fix.latitude, &fix.longitude, &fix.ident, &fix.terminalArea, &fix.region});
  }
  check(produced <= text.size());
  for (const Skipped& row : read.skipped) check(row.detail.size() <= 80);
  return 0;
}

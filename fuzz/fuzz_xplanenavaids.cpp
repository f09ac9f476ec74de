// Fuzz target: arbitrary bytes as X-Plane's earth_nav.dat, through the navaid reader. Whatever the bytes, the result is
// bounded by the input: at most one navaid or skipped row a line, and no more text in the navaids than the input holds.
#include "fixfile.h"
#include "fuzzcheck.h"
#include "xplanenavaids.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QString text = decodeFixText(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
  const qsizetype lines = fuzz::lineCount(text);
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

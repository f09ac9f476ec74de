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
  fuzz::checkLineOrder(read.navaids, 2, lines);
  fuzz::checkLineOrder(read.skipped, 2, lines);
  qsizetype produced = 0;
  for (const XPlaneNavaid& navaid : read.navaids) {
    check(navaid.region.size() == 2 && !navaid.frequency.isEmpty());
    produced += fuzz::sizes({&navaid.latitude, &navaid.longitude, &navaid.elevation, &navaid.frequency, &navaid.range,
                             &navaid.variation, &navaid.ident, &navaid.terminalArea, &navaid.region, &navaid.name});
  }
  check(produced <= text.size());
  for (const Skipped& row : read.skipped) check(row.detail.size() <= 80);
  return 0;
}

#include "countrysource.h"

#include <QFileInfo>

#include <utility>

namespace skelvor {

CountrySource::CountrySource(const QString& path) : path_(path), stamp_(stampOf(path)) {
  scanned_ = QFileInfo(path).isFile() && readsInTwoPasses(stamp_.size);
  // The scan keeps no line: it gives the codes, how the file decodes, and the room the lines of each code take.
  first_ = scanned_ ? readFixFileLines(path, CodesFilter{}) : readFixFileLines(path);
}

// Two passes keep skelvor-export within its memory target, at most 3 x the file, whatever the file's size: one
// country of the 300,000-line file of the benchmarks (10.0 MB) peaks at 14.4 MB in two passes, 22.8 MB read whole. A
// smaller file is read whole, which spares it the scan.
bool CountrySource::readsInTwoPasses(qint64 size) { return size > (qint64{4} << 20); }

CountrySource::Stamp CountrySource::stampOf(const QString& path) {
  const QFileInfo info(path);
  return {info.size(), info.lastModified()};
}

FixFileLines CountrySource::linesOf(const QStringList& chosen) {
  if (!scanned_) {
    FixFileLines whole;
    whole.ok = first_.ok;
    whole.error = first_.error;
    whole.codes = first_.codes;
    whole.room = first_.room;
    whole.lines = std::exchange(first_.lines, FixLines());
    return whole;
  }
  qsizetype bytes = 0;
  for (const QString& code : chosen)
    if (const qsizetype i = first_.codes.indexOf(code); i >= 0) bytes += first_.room[static_cast<std::size_t>(i)].bytes;
  // Lines that make up most of the file are read quicker with the file whole, in twice their room at most.
  FixFileLines read = 2 * bytes >= stamp_.size ? readFixFileLines(path_)
                                               : readFixFileLines(path_, CodesFilter{chosen, first_.lines.isUtf8()});
  // A file changed between the passes gives lines that the codes of the scan do not describe.
  if (read.ok &&
      (stampOf(path_) != stamp_ || read.codes != first_.codes || read.lines.isUtf8() != first_.lines.isUtf8())) {
    read = FixFileLines();
    read.error =
        QStringLiteral("%1 changed while it was read; try again once it is written").arg(QFileInfo(path_).fileName());
  }
  return read;
}

}  // namespace skelvor

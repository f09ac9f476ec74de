#pragma once

#include "fixfile.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace skelvor {

/// A fix file read for the lines of some of its countries, by the one policy of how: a file of a few megabytes is read
/// whole, which is quickest; a larger one in two passes a block at a time, a scan for its codes and then a read of the
/// lines of the chosen codes, so that the rest of it never takes room.
class CountrySource {
 public:
  /// Reads the file at `path` whole, or scans it for its codes.
  explicit CountrySource(const QString& path);

  /// Why the file cannot be read, or nothing.
  const QString& error() const { return first_.error; }
  /// The file's codes in order of first appearance.
  const QStringList& codes() const { return first_.codes; }
  /// Lines that hold at least those of `chosen`, decoded as the whole file: only those lines when the file is read in
  /// two passes and they make up less than half of it, else every line. The reason is given, and no line, when the
  /// file cannot be read or changed since the scan. The source lets go of the lines it holds.
  FixFileLines linesOf(const QStringList& chosen);

  /// Whether a file of `size` bytes is read in two passes.
  static bool readsInTwoPasses(qint64 size);

 private:
  // Which state of the file was read: its size and the time of its last change.
  struct Stamp {
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp stampOf(const QString& path);

  QString path_;
  Stamp stamp_;
  bool scanned_ = false;
  FixFileLines first_;  // the whole file, or the scan's codes and room
};

}  // namespace skelvor

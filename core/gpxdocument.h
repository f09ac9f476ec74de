#pragma once

#include "countryrows.h"
#include "savefile.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <vector>

namespace skelvor {

/// A GPX file as Skelvor writes it: the head `TETE`, the body `CORPS` of gathered waypoint blocks, held as the UTF-8
/// bytes it is written as, and the foot `FION`. The file is the three in UTF-8, then CR LF.
class GpxDocument {
 public:
  /// A document with the head and foot of every GPX file and no waypoint.
  GpxDocument();

  const QString& TETE() const { return TETE_; }
  const QByteArray& CORPS() const { return CORPS_; }
  const QString& FION() const { return FION_; }

  /// Appends the waypoint block of every place of `rows` whose flag in `taken` is set, in list order.
  void append(const CountryRows& rows, const std::vector<bool>& taken);
  /// Empties the body and gives back what it held.
  QByteArray takeCORPS();
  /// Puts back a body that takeCORPS gave, or keeps only the first `size` bytes of the body.
  void restoreCORPS(QByteArray body) { CORPS_ = std::move(body); }
  void cutCORPS(qsizetype size) { CORPS_.truncate(size); }
  /// Takes as body the waypoints of `file`, the bytes of a file that Skelvor wrote; false, and the body left as it
  /// was, when the bytes do not begin with the head and end with the foot and CR LF, or the body is not UTF-8.
  bool readBack(const QByteArray& file);

  /// Rows that are written after the body without being added to it.
  struct Added {
    const CountryRows* rows;
    const std::vector<bool>* taken;
  };
  /// The bytes of the file, with the blocks of `added` after the body.
  QByteArray bytes(const std::vector<Added>& added = {}) const;
  /// Writes the file at `path` through write-then-rename, a piece at a time, with the blocks of `added` after the
  /// body.
  WriteResult write(const QString& path, const std::vector<Added>& added = {}) const;

 private:
  bool writeTo(QIODevice& device, const std::vector<Added>& added) const;

  QString TETE_;
  QByteArray CORPS_;
  QString FION_;
};

}  // namespace skelvor

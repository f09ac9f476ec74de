#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace skelvor {

/// Reads comma-separated values as RFC 4180 writes them, one record at a time: fields separated by commas, a field in
/// double quotes may hold commas, line breaks and doubled quotes standing for one quote; records end with CR LF, LF or
/// a lone CR. A byte-order mark at the start is skipped and lines that hold nothing are passed over. A record whose
/// quoting is broken is still returned, with `problem()` saying what is wrong, so the caller can name its line.
class CsvReader {
 public:
  explicit CsvReader(QStringView text);

  /// Reads the next record; false at the end of the text, and from then on.
  bool next();

  /// The line on which the current record begins, counted from 1.
  qsizetype line() const { return line_; }

  /// The number of fields of the current record, at least 1.
  qsizetype fieldCount() const { return fields_.size(); }

  /// Field `index` of the current record, quotes taken away; empty for an index past the last field. The view is valid
  /// until the next call of `next()`.
  QStringView field(qsizetype index) const;

  /// What is wrong with the current record's quoting, or empty when nothing is.
  QString problem() const { return problem_; }

 private:
  struct Span {
    qsizetype start = 0;
    qsizetype size = 0;
    bool unescaped = false;  // the text lies in unescaped_, not in the input
  };

  void readQuotedField();
  void readPlainField();
  // Steps over one line end at pos_ (CR LF, LF or CR) and counts it.
  void skipLineEnd();

  QStringView text_;
  qsizetype pos_ = 0;
  qsizetype nextLine_ = 1;
  qsizetype line_ = 0;
  QList<Span> fields_;
  QString unescaped_;
  QString problem_;
};

}  // namespace skelvor

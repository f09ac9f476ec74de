#include "csvreader.h"

namespace skelvor {

namespace {

bool isLineEnd(QChar c) { return c == u'\n' || c == u'\r'; }

}  // namespace

CsvReader::CsvReader(QStringView text) : text_(text) {
  if (text_.startsWith(QChar(0xFEFF))) pos_ = 1;
}

QStringView CsvReader::field(qsizetype index) const {
  if (index < 0 || index >= fields_.size()) return {};
  const Span& span = fields_[index];
  return span.unescaped ? QStringView(unescaped_).sliced(span.start, span.size) : text_.sliced(span.start, span.size);
}

void CsvReader::skipLineEnd() {
  if (text_[pos_] == u'\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == u'\n') ++pos_;
  ++pos_;
  ++nextLine_;
}

// A quoted field runs from the opening quote to the next quote that is not doubled. Its text is a view into the input
// as long as it holds no doubled quote; from the first doubled quote on, its pieces are copied into `unescaped_` with
// one quote for each pair. Line ends inside the quotes belong to the field and are counted as lines of the input.
void CsvReader::readQuotedField() {
  ++pos_;  // the opening quote
  const qsizetype start = pos_;
  qsizetype piece = pos_;
  qsizetype unescapedStart = -1;
  const qsizetype size = text_.size();
  while (true) {
    while (pos_ < size && text_[pos_] != u'"') {
      if (isLineEnd(text_[pos_])) {
        skipLineEnd();
      } else {
        ++pos_;
      }
    }
    if (pos_ == size) {
      problem_ = QStringLiteral("a quoted field is not closed");
      break;
    }
    if (pos_ + 1 < size && text_[pos_ + 1] == u'"') {
      if (unescapedStart < 0) unescapedStart = unescaped_.size();
      unescaped_.append(text_.sliced(piece, pos_ + 1 - piece));  // the text and one quote
      pos_ += 2;
      piece = pos_;
      continue;
    }
    break;
  }
  const qsizetype end = pos_;
  if (pos_ < size) ++pos_;  // the closing quote
  if (unescapedStart < 0) {
    fields_.append({start, end - start, false});
  } else {
    unescaped_.append(text_.sliced(piece, end - piece));
    fields_.append({unescapedStart, unescaped_.size() - unescapedStart, true});
  }
  // Anything between the closing quote and the next comma or line end has no place in RFC 4180: it is dropped and the
  // record is marked.
  if (pos_ < size && text_[pos_] != u',' && !isLineEnd(text_[pos_])) {
    if (problem_.isEmpty()) problem_ = QStringLiteral("text follows a closing quote");
    while (pos_ < size && text_[pos_] != u',' && !isLineEnd(text_[pos_])) ++pos_;
  }
}

void CsvReader::readPlainField() {
  const qsizetype start = pos_;
  const qsizetype size = text_.size();
  while (pos_ < size && text_[pos_] != u',' && !isLineEnd(text_[pos_])) ++pos_;
  fields_.append({start, pos_ - start, false});
}

bool CsvReader::next() {
  const qsizetype size = text_.size();
  while (pos_ < size && isLineEnd(text_[pos_])) skipLineEnd();
  fields_.clear();
  unescaped_.resize(0);
  problem_.clear();
  if (pos_ >= size) return false;
  line_ = nextLine_;
  // Every turn reads one field; a comma after it announces another, anything else ends the record.
  while (true) {
    if (pos_ < size && text_[pos_] == u'"') {
      readQuotedField();
    } else {
      readPlainField();
    }
    if (pos_ < size && text_[pos_] == u',') {
      ++pos_;
      continue;
    }
    if (pos_ < size) skipLineEnd();
    return true;
  }
}

}  // namespace skelvor

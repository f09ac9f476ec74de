// Fuzz target: arbitrary bytes as a fix file's content, through decoding, line splitting and code collection.
#include "fixlines.h"
#include "fuzzcheck.h"

#include <QSet>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = decodeFixText(bytes);
  // Either valid UTF-8, given back byte for byte less a leading byte-order mark, or one character per byte.
  QByteArray withoutBom = bytes;
  if (withoutBom.startsWith("\xEF\xBB\xBF")) withoutBom.remove(0, 3);
  check(text.toUtf8() == withoutBom || text.size() == bytes.size());

  // The lines are the text cut at each CR LF, LF and lone CR, less the empty piece after a final line end.
  QStringList expected;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    expected.append(text.mid(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) expected.append(text.mid(start));
  const FixLines lines(bytes);
  QStringList texts;
  QString line;
  lines.forEachLine([&](QByteArrayView piece) {
    lines.decode(piece, line);
    texts.append(line);
  });
  check(texts == expected);

  // Each code once, each one field 1 of some line.
  const QStringList codes = collectCodes(lines);
  check(QSet<QString>(codes.begin(), codes.end()).size() == codes.size());
  check(codes.size() <= texts.size());
  for (const QString& code : codes) {
    bool found = false;
    for (const QString& each : texts) {
      const QStringList fields = each.split(u';');
      if (fields.size() >= 2 && fields.at(1) == code) {
        found = true;
        break;
      }
    }
    check(found);
  }
  return 0;
}

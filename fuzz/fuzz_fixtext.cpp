// Fuzz target: arbitrary bytes as a fix file's content, through decoding, line splitting and code collection.
#include "fixfile.h"
#include "fixreference.h"
#include "fuzzcheck.h"

#include <QSet>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString text = decodeFixText(bytes);
  // Either valid UTF-8, given back byte for byte less a leading byte-order mark, or one character per byte.
  QByteArray withoutBom = bytes;
  if (withoutBom.startsWith("\xEF\xBB\xBF")) withoutBom.remove(0, 3);
  check(text.toUtf8() == withoutBom || text.size() == bytes.size());

  // The lines are the text with every kind of line end made one, less the line end after the last line.
  const QStringList lines = splitLines(text);
  QString joined = text;
  joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  if (joined.endsWith(u'\n')) joined.chop(1);
  check(lines.join(u'\n') == joined);

  // Each code once, each one field 1 of some line.
  const QStringList codes = collectCodes(lines);
  check(QSet<QString>(codes.begin(), codes.end()).size() == codes.size());
  check(codes.size() <= lines.size());
  for (const QString& code : codes) {
    bool found = false;
    for (const QString& line : lines) {
      if (detail::countryField(line) == code) {
        found = true;
        break;
      }
    }
    check(found);
  }
  return 0;
}

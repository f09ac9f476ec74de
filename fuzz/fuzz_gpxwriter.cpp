// Fuzz target: arbitrary bytes as a waypoint's name and coordinates, from a UTF-8 or a Windows-1252 file, through the
// GPX writer. The file must be well-formed XML and give back exactly the texts put in, less the characters XML 1.0
// forbids.
#include "fixlines.h"
#include "fixtext.h"
#include "fuzzcheck.h"
#include "gpx.h"
#include "gpxdocument.h"

#include <QList>
#include <QXmlStreamReader>

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The text with the characters XML 1.0 forbids left out: controls but tab, line feed and carriage return; U+FFFE and
// U+FFFF.
QString allowedInXml(const QString& text) {
  QString kept;
  for (const QChar c : text)
    if ((c.unicode() >= 0x20 || c == u'\t' || c == u'\n' || c == u'\r') && c.unicode() < 0xFFFE) kept += c;
  return kept;
}

struct Texts {
  QString name, latitude, longitude;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  FuzzedDataProvider input(data, size);
  QByteArray body;
  QList<Texts> expected;
  while (input.remaining_bytes() > 0) {
    QList<QByteArray> fields;
    for (int i = 0; i < 3; ++i) fields.append(QByteArray::fromStdString(input.ConsumeRandomLengthString()));
    // As a file decodes: UTF-8 when every field is, else Windows-1252. A file's fields are cut at ASCII bytes, so a
    // field of a UTF-8 file is UTF-8 by itself.
    const bool utf8 =
        std::all_of(fields.begin(), fields.end(), [](const QByteArray& f) { return detail::isStrictUtf8(f); });
    appendWaypointBlock(body, {fields[0], fields[1], fields[2]}, utf8);
    QString texts[3];
    for (int i = 0; i < 3; ++i) {
      FixLines::decode(fields[i], utf8, texts[i]);
      texts[i] = allowedInXml(texts[i]);
    }
    expected.append({texts[0], texts[1], texts[2]});
  }

  GpxDocument document;
  document.restoreCORPS(body);
  QXmlStreamReader reader(document.bytes());
  QList<Texts> found;
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (reader.name() == u"wpt") {
      found.append({{},
                    reader.attributes().value(QStringLiteral("lat")).toString(),
                    reader.attributes().value(QStringLiteral("lon")).toString()});
    } else if (reader.name() == u"name") {
      check(!found.isEmpty());
      found.last().name = reader.readElementText();
    }
  }
  check(!reader.hasError());
  check(found.size() == expected.size());
  for (qsizetype i = 0; i < found.size(); ++i) {
    check(found[i].name == expected[i].name);
    check(found[i].latitude == expected[i].latitude);
    check(found[i].longitude == expected[i].longitude);
  }
  return 0;
}

// Fuzz target: arbitrary result rows (any UTF-16 code units) through the GPX writer. The file must be well-formed XML
// and give back exactly the names and coordinates put in, less the characters XML 1.0 forbids.
#include "fuzzcheck.h"
#include "gpx.h"
#include "gpxreference.h"

#include <QList>
#include <QXmlStreamReader>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// The text with the characters XML 1.0 forbids left out: controls but tab, line feed and carriage return; surrogates
// that are not part of a pair; U+FFFE and U+FFFF.
QString allowedInXml(const QString& text) {
  QString kept;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      kept += text[i];
      kept += text[++i];
      continue;
    }
    const bool forbidden = (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || QChar::isSurrogate(c) || c >= 0xFFFE;
    if (!forbidden) kept += text[i];
  }
  return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  FuzzedDataProvider input(data, size);
  QString body;
  QList<WaypointFields> expected;
  while (input.remaining_bytes() > 0) {
    const std::string units = input.ConsumeRandomLengthString();
    const QString row =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(units.data()), static_cast<qsizetype>(units.size() / 2));
    const std::optional<WaypointFields> fields = waypointFields(row);
    if (!fields) continue;
    appendWaypointBlock(body, *fields);
    expected.append({allowedInXml(fields->name), allowedInXml(fields->latitude), allowedInXml(fields->longitude)});
  }

  QXmlStreamReader reader(gpxFileBytes(gpxDeclaration() + gpxOpeningTag(), body, gpxClosingTag()));
  QList<WaypointFields> found;
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

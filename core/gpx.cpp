#include "gpx.h"

#include "maker.h"

#include <cstring>
#include <initializer_list>

namespace skelvor {

namespace {

constexpr char kGpx10Namespace[] = "http://www.topografix.com/GPX/1/0";
constexpr char kGpx10Schema[] = "http://www.topografix.com/GPX/1/0/gpx.xsd";
constexpr char kSchemaInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// One attribute as the head writes it: a space, the name, "=" and the value between double quotes.
QString attribute(const char* name, const QString& value) {
  return QLatin1String(" ") + QLatin1String(name) + QLatin1String("=\"") + value + QLatin1Char('"');
}

// The pieces of a waypoint block around its three values.
constexpr QStringView kBlockOpen = u"\r\n<wpt lat=\"";
constexpr QStringView kBlockLon = u"\" lon=\"";
constexpr QStringView kBlockName = u"\">\r\n <name>";
constexpr QStringView kBlockClose = u"</name>\r\n</wpt>";

// True for the characters that xmlEscaped cannot copy as they stand: the four it writes as entities, the three
// blanks it writes as character references, the controls that XML 1.0 forbids (every other C0 control), surrogates
// (kept only in pairs), U+FFFE and U+FFFF.
constexpr bool needsCare(char16_t c) {
  if (c < 0x20) return true;
  return c == u'&' || c == u'<' || c == u'>' || c == u'"' || (c >= 0xD800 && c <= 0xDFFF) || c >= 0xFFFE;
}

// Appends `text` to `out` as xmlEscaped writes it. Runs of plain characters are copied in one piece, so the usual
// value, which has nothing to escape, costs one append.
void appendEscaped(QString& out, QStringView text) {
  const qsizetype size = text.size();
  qsizetype plainFrom = 0;
  for (qsizetype i = 0; i < size; ++i) {
    const char16_t c = text[i].unicode();
    if (!needsCare(c)) continue;
    if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(text[i + 1].unicode())) {
      ++i;  // a complete pair is a valid character beyond U+FFFF and stays in the run
      continue;
    }
    out.append(text.sliced(plainFrom, i - plainFrom));
    plainFrom = i + 1;
    switch (c) {
      case u'&':
        out.append(u"&amp;");
        break;
      case u'<':
        out.append(u"&lt;");
        break;
      case u'>':
        out.append(u"&gt;");
        break;
      case u'"':
        out.append(u"&quot;");
        break;
      // A reader turns a tab or a line end in an attribute into a space, and a carriage return anywhere into a line
      // feed; written as references, all three come back as they were.
      case u'\t':
        out.append(u"&#9;");
        break;
      case u'\n':
        out.append(u"&#10;");
        break;
      case u'\r':
        out.append(u"&#13;");
        break;
      default:  // a forbidden control, a lone surrogate, U+FFFE or U+FFFF: left out
        break;
    }
  }
  out.append(text.sliced(plainFrom));
}

// The index of the last "|" before `end`, or -1.
qsizetype lastBarBefore(QStringView row, qsizetype end) {
  while (--end >= 0 && row[end] != u'|') {
  }
  return end;
}

}  // namespace

void appendWaypointBlock(QString& body, const WaypointFieldViews& waypoint) {
  body.append(kBlockOpen);
  appendEscaped(body, waypoint.latitude);
  body.append(kBlockLon);
  appendEscaped(body, waypoint.longitude);
  body.append(kBlockName);
  appendEscaped(body, waypoint.name);
  body.append(kBlockClose);
}

QString gpxDeclaration() { return QStringLiteral("<?xml version=\"1.0\"?>\r\n"); }

QString gpxOpeningTag() {
  return QLatin1String("<gpx") + attribute("creator", QLatin1String("GPS Visualizer ") + QLatin1String(kMakerUrl)) +
         attribute("version", QStringLiteral("1.0")) + attribute("xmlns", QLatin1String(kGpx10Namespace)) +
         attribute("xmlns:xsi", QLatin1String(kSchemaInstanceNamespace)) +
         attribute("xsi:schemaLocation",
                   QLatin1String(kGpx10Namespace) + QLatin1Char(' ') + QLatin1String(kGpx10Schema)) +
         QLatin1Char('>');
}

QString gpxClosingTag() { return QStringLiteral("</gpx>"); }

QStringView gpxFileEnd() { return u"\r\n"; }

// The coordinates are taken from the end of the row, where the row builder puts them, so a "|" in the visible text
// moves the name's boundary but never the coordinates.
std::optional<WaypointFieldViews> waypointFieldViews(QStringView row) {
  const qsizetype lastBar = lastBarBefore(row, row.size());
  const qsizetype barBefore = lastBarBefore(row, lastBar);
  if (barBefore < 0) return std::nullopt;

  const QStringView readable = row.first(barBefore);
  const qsizetype space = readable.indexOf(u' ');
  return WaypointFieldViews{space < 0 ? readable : readable.first(space),
                            row.sliced(barBefore + 1, lastBar - barBefore - 1), row.sliced(lastBar + 1)};
}

QString xmlEscaped(QStringView text) {
  QString escaped;
  escaped.reserve(text.size());
  appendEscaped(escaped, text);
  return escaped;
}

void appendPlainWaypointBlock(QByteArray& bytes, const WaypointBytes& waypoint) {
  // The block is written in one piece into room made at the end of the bytes.
  constexpr QByteArrayView kOpen = "\r\n<wpt lat=\"";
  constexpr QByteArrayView kLon = "\" lon=\"";
  constexpr QByteArrayView kName = "\">\r\n <name>";
  constexpr QByteArrayView kClose = "</name>\r\n</wpt>";
  const qsizetype at = bytes.size();
  bytes.resize(at + kOpen.size() + waypoint.latitude.size() + kLon.size() + waypoint.longitude.size() + kName.size() +
               waypoint.name.size() + kClose.size());
  char* out = bytes.data() + at;
  for (const QByteArrayView piece :
       {kOpen, waypoint.latitude, kLon, waypoint.longitude, kName, waypoint.name, kClose}) {
    if (piece.isEmpty()) continue;  // an empty view may point nowhere
    std::memcpy(out, piece.data(), static_cast<std::size_t>(piece.size()));
    out += piece.size();
  }
}

}  // namespace skelvor

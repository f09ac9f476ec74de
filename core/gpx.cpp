#include "gpx.h"

#include "fixtext.h"
#include "maker.h"

namespace skelvor {

namespace {

constexpr char kGpx10Namespace[] = "http://www.topografix.com/GPX/1/0";
constexpr char kGpx10Schema[] = "http://www.topografix.com/GPX/1/0/gpx.xsd";
constexpr char kSchemaInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// One attribute as the head writes it: a space, the name, "=" and the value between double quotes.
QString attribute(const char* name, const QString& value) {
  return QLatin1String(" ") + QLatin1String(name) + QLatin1String("=\"") + value + QLatin1Char('"');
}

// Whether the byte at `i` of `value`, bytes of a fix file in UTF-8 (`utf8`) or Windows-1252, is not written as it
// stands: an ASCII character that XML text escapes or forbids, the start of U+FFFE or U+FFFF (EF BF BE, EF BF BF) in
// UTF-8, or any byte above 7F in Windows-1252.
bool needsCare(QByteArrayView value, qsizetype i, bool utf8) {
  const auto byte = static_cast<unsigned char>(value[i]);
  if (byte >= 0x80)
    return !utf8 || value.sliced(i).startsWith("\xEF\xBF\xBE") || value.sliced(i).startsWith("\xEF\xBF\xBF");
  return byte < 0x20 || byte == '&' || byte == '<' || byte == '>' || byte == '"';
}

// Appends what XML text writes for the byte at `i` of `value`, which needs care; returns how many bytes it took.
qsizetype appendCared(QByteArray& out, QByteArrayView value, qsizetype i, bool utf8) {
  const auto byte = static_cast<unsigned char>(value[i]);
  if (utf8 && byte >= 0x80) return 3;  // U+FFFE or U+FFFF: left out
  switch (byte) {
    case '&':
      out.append("&amp;");
      return 1;
    case '<':
      out.append("&lt;");
      return 1;
    case '>':
      out.append("&gt;");
      return 1;
    case '"':
      out.append("&quot;");
      return 1;
    // A reader turns a tab or a line end in an attribute into a space, and a carriage return anywhere into a line
    // feed; written as references, all three come back as they were.
    case '\t':
      out.append("&#9;");
      return 1;
    case '\n':
      out.append("&#10;");
      return 1;
    case '\r':
      out.append("&#13;");
      return 1;
    default:
      break;
  }
  if (byte < 0x20) return 1;  // a control that XML 1.0 forbids: left out
  // A Windows-1252 byte above 7F: one character from U+0080 to U+2122, two or three bytes of UTF-8.
  char16_t c;
  detail::decodeInto(value.sliced(i, 1), false, &c);
  if (c >= 0x800) out.append(static_cast<char>(0xE0 | (c >> 12)));
  out.append(static_cast<char>(c >= 0x800 ? 0x80 | ((c >> 6) & 0x3F) : 0xC0 | (c >> 6)));
  out.append(static_cast<char>(0x80 | (c & 0x3F)));
  return 1;
}

// Appends `value`, bytes of a fix file in UTF-8 (`utf8`) or Windows-1252, to `out` as UTF-8 XML text. Runs of bytes
// that need no care are copied in one piece, so the usual value costs one append.
void appendEscaped(QByteArray& out, QByteArrayView value, bool utf8) {
  qsizetype plainFrom = 0;
  for (qsizetype i = 0; i < value.size();) {
    if (!needsCare(value, i, utf8)) {
      ++i;
      continue;
    }
    out.append(value.sliced(plainFrom, i - plainFrom));
    i += appendCared(out, value, i, utf8);
    plainFrom = i;
  }
  out.append(value.sliced(plainFrom));
}

}  // namespace

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

void appendWaypointBlock(QByteArray& body, const WaypointText& waypoint, bool utf8) {
  body.append("\r\n<wpt lat=\"");
  appendEscaped(body, waypoint.latitude, utf8);
  body.append("\" lon=\"");
  appendEscaped(body, waypoint.longitude, utf8);
  body.append("\">\r\n <name>");
  appendEscaped(body, waypoint.name, utf8);
  body.append("</name>\r\n</wpt>");
}

}  // namespace skelvor

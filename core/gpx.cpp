#include "gpx.h"

#include "fixtext.h"
#include "maker.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace skelvor {

namespace {

constexpr char kGpx10Namespace[] = "http://www.topografix.com/GPX/1/0";
constexpr char kGpx10Schema[] = "http://www.topografix.com/GPX/1/0/gpx.xsd";
constexpr char kSchemaInstanceNamespace[] = "http://www.w3.org/2001/XMLSchema-instance";

// One attribute as the head writes it: a space, the name, "=" and the value between double quotes.
QString attribute(const char* name, const QString& value) {
  return QLatin1String(" ") + QLatin1String(name) + QLatin1String("=\"") + value + QLatin1Char('"');
}

// What XML text writes for an ASCII byte that it does not take as it stands: the entities, and character references for
// tab, line feed and carriage return, which a reader would otherwise give back as a space or a line feed; empty for the
// others.
constexpr std::string_view escapeOf(unsigned char byte) {
  switch (byte) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '\t':
      return "&#9;";
    case '\n':
      return "&#10;";
    case '\r':
      return "&#13;";
    default:
      return {};
  }
}

// Whether an ASCII byte is written as it stands: neither escaped nor forbidden.
constexpr std::array<bool, 0x80> kWrittenAsIs = [] {
  std::array<bool, 0x80> asIs{};
  for (unsigned char byte = 0x20; byte < 0x80; ++byte) asIs[byte] = escapeOf(byte).empty();
  return asIs;
}();

// The most bytes a byte of a value takes written: "&quot;".
constexpr qsizetype kMostPerByte = 6;

// Writes `value`, bytes of a fix file in UTF-8 (`utf8`) or Windows-1252, at `out` as UTF-8 XML text, and returns the
// end of what it wrote; `out` has room for kMostPerByte bytes a byte. The characters that XML 1.0 forbids are left out:
// the C0 controls other than tab, line feed and carriage return, and U+FFFE and U+FFFF (EF BF BE and EF BF BF in
// UTF-8). A Windows-1252 byte above 7F stands for one character from U+0080 to U+2122, two or three bytes of UTF-8.
char* writeEscaped(char* out, QByteArrayView value, bool utf8) {
  for (qsizetype i = 0; i < value.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value[i]);
    if (byte < 0x80) {
      if (kWrittenAsIs[byte]) {
        *out++ = static_cast<char>(byte);
      } else {
        const std::string_view escape = escapeOf(byte);  // nothing for a forbidden control
        out = std::copy(escape.begin(), escape.end(), out);
      }
    } else if (utf8) {
      const QByteArrayView rest = value.sliced(i);
      if (rest.startsWith("\xEF\xBF\xBE") || rest.startsWith("\xEF\xBF\xBF"))
        i += 2;
      else
        *out++ = static_cast<char>(byte);
    } else {
      char16_t c;
      detail::decodeInto(value.sliced(i, 1), false, &c);
      if (c >= 0x800) *out++ = static_cast<char>(0xE0 | (c >> 12));
      *out++ = static_cast<char>(c >= 0x800 ? 0x80 | ((c >> 6) & 0x3F) : 0xC0 | (c >> 6));
      *out++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

char* put(char* out, std::string_view text) { return std::copy(text.begin(), text.end(), out); }

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
  constexpr std::string_view kOpen = "\r\n<wpt lat=\"";
  constexpr std::string_view kLon = "\" lon=\"";
  constexpr std::string_view kName = "\">\r\n <name>";
  constexpr std::string_view kClose = "</name>\r\n</wpt>";
  // The block is written into room made once at the end of the body, then cut to what it took.
  const qsizetype at = body.size();
  body.resize(at + static_cast<qsizetype>(kOpen.size() + kLon.size() + kName.size() + kClose.size()) +
              kMostPerByte * (waypoint.latitude.size() + waypoint.longitude.size() + waypoint.name.size()));
  char* out = put(body.data() + at, kOpen);
  out = put(writeEscaped(out, waypoint.latitude, utf8), kLon);
  out = put(writeEscaped(out, waypoint.longitude, utf8), kName);
  out = put(writeEscaped(out, waypoint.name, utf8), kClose);
  body.truncate(out - body.constData());
}

}  // namespace skelvor

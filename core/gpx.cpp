#include "gpx.h"

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

}  // namespace skelvor

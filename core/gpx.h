#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace skelvor {

/// The XML declaration line of every GPX file, ending with CR LF.
QString gpxDeclaration();

/// The opening gpx tag with its creator, version, namespace and schema location attributes, without a line end.
QString gpxOpeningTag();

/// The closing gpx tag, without a line end.
QString gpxClosingTag();

/// What follows the closing tag at the end of the file: CR LF.
QStringView gpxFileEnd();

/// What a result row gives a waypoint: its name and its coordinates, as views into the row. Latitude and longitude
/// are the last two "|"-separated pieces, the name is the text before the first space of what stands before them.
/// Nothing when the row holds fewer than two "|".
struct WaypointFieldViews {
  QStringView name;
  QStringView latitude;
  QStringView longitude;
};
std::optional<WaypointFieldViews> waypointFieldViews(QStringView row);

/// Waypoint fields as bytes of a fix line that go into a GPX file as they stand: ASCII, with no control character
/// and nothing that needs escaping.
struct WaypointBytes {
  QByteArrayView name;
  QByteArrayView latitude;
  QByteArrayView longitude;
};

/// `text` with & < > and " written as entities, tab, line feed and carriage return as character references, and the
/// characters that XML 1.0 forbids left out.
QString xmlEscaped(QStringView text);

/// Appends the waypoint block of `waypoint` to `body`: CR LF, the wpt tag, CR LF, the name, CR LF, the closing tag.
void appendWaypointBlock(QString& body, const WaypointFieldViews& waypoint);

/// Appends to `bytes` the UTF-8 of the waypoint block of `waypoint`.
void appendPlainWaypointBlock(QByteArray& bytes, const WaypointBytes& waypoint);

}  // namespace skelvor

#pragma once

#include "rowformat.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace skelvor {

/// The XML declaration line of every GPX file, ending with CR LF.
QString gpxDeclaration();

/// The opening gpx tag with its creator, version, namespace and schema location attributes, without a line end.
QString gpxOpeningTag();

/// The closing gpx tag, without a line end.
QString gpxClosingTag();

/// What follows the closing tag at the end of the file: CR LF.
QStringView gpxFileEnd();

/// Appends to `body` the UTF-8 of the waypoint block of `waypoint`, whose fields are bytes of a fix file in UTF-8
/// (`utf8`) or Windows-1252: CR LF, the wpt tag with the latitude and longitude, CR LF, the name, CR LF, the closing
/// tag. Each value is written as XML text: & < > and " as entities, tab, line feed and carriage return as character
/// references, and the characters that XML 1.0 forbids (the other C0 controls, U+FFFE and U+FFFF) left out.
void appendWaypointBlock(QByteArray& body, const WaypointText& waypoint, bool utf8);

}  // namespace skelvor

#pragma once

#include <QString>

namespace skelvor {

/// The XML declaration line of every GPX file, ending with CR LF.
QString gpxDeclaration();

/// The opening gpx tag with its creator, version, namespace and schema location attributes, without a line end.
QString gpxOpeningTag();

/// The closing gpx tag, without a line end.
QString gpxClosingTag();

}  // namespace skelvor

#pragma once

#include "skipped.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace skelvor {

/// One record of X-Plane's earth_fix.dat, its fields as the file writes them.
struct XPlaneFix {
  qsizetype line = 0;
  QString latitude;
  QString longitude;
  QString ident;
  QString terminalArea;  ///< "ENRT" for an en-route fix, else the ICAO identifier of the airport it serves
  QString region;        ///< the two-character ICAO region code
};

/// What the fix reader gives: the fixes it could read and the lines it passed over, or, when the file as a whole is
/// refused, the reason and nothing else.
struct XPlaneFixesRead {
  QString error;
  QList<XPlaneFix> fixes;
  QList<Skipped> skipped;
  bool ok() const { return error.isEmpty(); }
};

/// Reads the text of an X-Plane earth_fix.dat of version 1100 or later: two header lines, then one fix a line
/// (latitude, longitude, identifier, terminal area, region code, further columns ignored) up to the line "99" or the
/// end. A line with fewer fields, coordinates that are no decimal numbers in range, or a region code that is not two
/// characters long is passed over as malformed.
XPlaneFixesRead readXPlaneFixes(QStringView text);

/// Reads the earth_fix.dat file at `path`, decoded as the window decodes fix files.
XPlaneFixesRead readXPlaneFixesFile(const QString& path);

}  // namespace skelvor

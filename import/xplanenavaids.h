#pragma once

#include "skipped.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace skelvor {

/// The X-Plane row codes that the navaid reader keeps.
enum class XPlaneNavaidKind {
  Ndb = 2,      ///< a non-directional beacon
  Vor = 3,      ///< a VOR, VORTAC or VOR-DME
  Dme = 12,     ///< the DME of a VOR, VORTAC, ILS or localizer
  LoneDme = 13  ///< a DME on its own, or with an NDB
};

/// One kept record of X-Plane's earth_nav.dat, its fields as the file writes them.
struct XPlaneNavaid {
  qsizetype line = 0;
  XPlaneNavaidKind kind = XPlaneNavaidKind::Ndb;
  QString latitude;
  QString longitude;
  QString elevation;  ///< feet
  QString frequency;  ///< kHz for an NDB, tens of kHz for a VOR or DME: 11680 is 116.80 MHz
  QString range;      ///< nautical miles
  QString variation;  ///< the magnetic variation of a VOR, the bias of a DME
  QString ident;
  QString terminalArea;
  QString region;
  QString name;  ///< the rest of the line, inner blanks included
};

/// What the navaid reader gives: the navaids it kept and the lines it passed over, or, when the file as a whole is
/// refused, the reason and nothing else.
struct XPlaneNavaidsRead {
  QString error;
  QList<XPlaneNavaid> navaids;
  QList<Skipped> skipped;
  bool ok() const { return error.isEmpty(); }
};

/// Reads the text of an X-Plane earth_nav.dat of version 1100 or later: two header lines, then one record a line up to
/// the line "99" or the end. Rows 2 (NDB), 3 (VOR) and 12, 13 (DME) are kept: row code, latitude, longitude,
/// elevation, frequency, range, variation or bias, identifier, terminal area, region code and the name. Every other row
/// code is passed over; so is a kept row with fewer than 10 fields, coordinates that are no decimal numbers in range, a
/// frequency that is no whole number, or a region code that is not two characters long.
XPlaneNavaidsRead readXPlaneNavaids(QStringView text);

/// Reads the earth_nav.dat file at `path`, decoded as the window decodes fix files.
XPlaneNavaidsRead readXPlaneNavaidsFile(const QString& path);

}  // namespace skelvor

#pragma once

#include "skipped.h"

#include <QList>
#include <QString>

#include <functional>

namespace skelvor {

/// One fix file that an import wrote: its name in the output folder, the lines written and the rows left out.
struct ImportedFile {
  QString name;
  qsizetype written = 0;
  QList<Skipped> skipped;
};

/// The outcome of an import: the files written, or the file at fault and the cause. When an input is refused, nothing
/// is written.
struct ImportOutcome {
  QString errorFile;
  QString error;
  QList<ImportedFile> files;
  bool ok() const { return error.isEmpty(); }
};

/// An import of the OurAirports dumps: airports.csv, and navaids.csv when `navaids` is not empty.
struct OurAirportsImport {
  QString airports;
  QString navaids;
  QString outputFolder;
  QString name = QStringLiteral("World");
};

/// An import of X-Plane navigation data: earth_fix.dat and earth_nav.dat, each when its path is not empty.
struct XPlaneImport {
  QString fixes;
  QString navaids;
  bool terminal = false;  ///< the terminal area fixes too, not only the en-route ones
  QString outputFolder;
  QString name = QStringLiteral("World");
};

/// Told the path of each input just before it is read.
using ReadingNotice = std::function<void(const QString& path)>;

/// Why `name` cannot begin the names of the written files, or empty when it can: it must be a plain file name, and it
/// must not hold a word that tells the window a file's kind (Navaid, Waypoint, Airport), or the window would take the
/// files for another kind.
QString nameProblem(const QString& name);

/// Reads the OurAirports files, then writes "<name> Airports.csv" and "<name> Navaids.csv" to the output folder, each
/// through a temporary file that replaces the earlier one only once it is complete.
ImportOutcome importOurAirports(const OurAirportsImport& job, const ReadingNotice& reading = {});

/// Reads the X-Plane files, then writes "<name> Waypoints.csv" and "<name> Navaids.csv" to the output folder.
ImportOutcome importXPlane(const XPlaneImport& job, const ReadingNotice& reading = {});

/// The report of an import for its user: per file the lines written and the rows left out per reason, with the line
/// numbers of the first few malformed rows.
QString reportText(const ImportOutcome& outcome);

}  // namespace skelvor

#pragma once

#include "nearby.h"
#include "territory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace skelvor {

/// What the export program is asked to do.
struct ExportRequest {
  enum class Mode { Countries, EachCountry, ListCountries };
  Mode mode = Mode::Countries;
  QString fixFile;
  /// Codes or names, in the order their waypoints are written.
  QStringList countries;
  /// The Find text; without it every row of a country is written.
  std::optional<QString> search;
  /// The GPX file to write, or "-" for the standard output.
  QString output = QStringLiteral("VOK.gpx");
  /// Keep the waypoints of an existing output that Skelvor wrote, and add the new ones after them.
  bool append = false;
  /// The folder of the files of Mode::EachCountry.
  QString folder;

  /// The fixes within a distance of a point, from every country of every file (or the countries named), written into
  /// one output, or listed in Mode::ListCountries.
  struct Around {
    GeoPoint point;
    double km = 0;
    /// The point and the distance as given, for messages.
    QString pointText;
    QString distanceText;
  };
  std::optional<Around> around;
  /// The fix files after `fixFile`, which take part with `around` only.
  QStringList moreFiles;
};

/// What the export program did: on success the bytes for the standard output, otherwise the one-line reason; and
/// notes on what was left out, one line each.
struct ExportOutcome {
  bool ok = false;
  QString error;
  QByteArray standardOutput;
  QStringList notes;
};

/// Carries out `request` with the window's reading, order, Find and GPX writing: the same file, country and search
/// give the bytes the window writes. Files are written whole or not at all.
ExportOutcome runExport(const ExportRequest& request);

}  // namespace skelvor

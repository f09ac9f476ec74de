#pragma once

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
};

/// What the export program did: on success the bytes for the standard output, otherwise the one-line reason.
struct ExportOutcome {
  bool ok = false;
  QString error;
  QByteArray standardOutput;
};

/// Carries out `request` with the window's reading, order, Find and GPX writing: the same file, country and search
/// give the bytes the window writes. Files are written whole or not at all.
ExportOutcome runExport(const ExportRequest& request);

}  // namespace skelvor

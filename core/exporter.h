#pragma once

#include "fixfile.h"
#include "listorder.h"
#include "resultrows.h"
#include "selection.h"
#include "territory.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace skelvor {

/// A country chosen by the user's words: its code as the file holds it, or why there is none.
struct CountryPick {
  std::optional<QString> code;
  QString error;
};

/// Picks a country among `codes` (a file's codes in list order) as the window's pickers do: a code as it stands in
/// the file (exact case first, else letter case ignored), or a name of the territory table whose code the file holds.
CountryPick pickCountry(const QStringList& codes, const TerritoryTable& table, const QString& typed);

/// The rows of one country and their order in the window's result list.
struct CountryRows {
  CompactRows rows;
  /// The index of each row of the list, from its first place to its last.
  std::vector<qsizetype> order;
};

/// The rows of one country (compactRows) in the order the window sorts them in.
CountryRows countryRows(CompactRows rows, const ListOrder& order);

/// One flag per place of the country's list, set for the rows that an export takes: those Find selects with `search`,
/// or every row without one; the flags the window's list gives its export once Find has selected.
std::vector<bool> exportedRows(const CountryRows& country, const std::optional<QString>& search);

/// The body of a file whose bytes are `head`, a body and `foot` followed by CR LF in UTF-8, as gpxFileBytes writes
/// them; nothing when the bytes do not begin and end that way or the body is not UTF-8.
std::optional<QString> gpxBody(const QByteArray& bytes, const QString& head, const QString& foot);

/// `name` made fit to be a file name on every common file system: cut to 100 characters; the characters that some
/// refuse become "_", as do a leading dot and trailing dots and spaces; a device name of Windows gets a "_" after it;
/// empty becomes "_".
QString safeFileName(QString name);

/// One file base name per code: the country's name from the table, or the code without one, made safe. No two names
/// are equal, even with letter case ignored; a name already given gets the code, then a number, after it.
QStringList countryFileNames(const QStringList& codes, const TerritoryTable& table);

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

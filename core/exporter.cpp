#include "exporter.h"

#include "countryrows.h"
#include "countrysource.h"
#include "fixfile.h"
#include "gpxdocument.h"
#include "paths.h"
#include "rowsinrange.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace skelvor {

namespace {

// A fix file on its way through an export: its kind, its codes in list order and the lines of each, held as the file's
// bytes; or the reason it cannot be exported from.
struct LoadedFile {
  QString error;
  QString kind;
  QStringList codes;
  std::vector<FixLines> groups;
};

// The kind of fixes that the name of the fix file at `path` tells; empty, and the reason in `error`, when it tells
// none.
QString kindOf(const QString& path, QString& error) {
  const QString kind = fileKind(QFileInfo(path).fileName(), QString());
  if (kind.isEmpty())
    error = QStringLiteral("%1: the file name tells no kind of fixes; it must contain Navaid, Waypoint or Airport")
                .arg(path);
  return kind;
}

// Every country of a fix file, read as CountrySource reads it (taking them all, a large file too is read whole), with
// the lines of each code apart, in the order of the codes.
LoadedFile load(const QString& path, const ListOrder& order) {
  LoadedFile loaded;
  CountrySource source(path);
  loaded.error = source.error();
  if (!loaded.error.isEmpty()) return loaded;
  loaded.kind = kindOf(path, loaded.error);
  if (loaded.kind.isEmpty()) return loaded;
  const FixFileLines file = source.linesOf(source.codes());
  loaded.error = file.error;
  if (!file.ok) return loaded;
  loaded.codes = order.sorted(source.codes());
  loaded.groups = file.lines.linesByCode(loaded.codes);
  return loaded;
}

// Whether writing `output` would replace the fix file being read.
bool isTheFixFile(const QString& output, const QString& fixFile) {
  const QString target = QFileInfo(output).canonicalFilePath();
  return !target.isEmpty() && target == QFileInfo(fixFile).canonicalFilePath();
}

QString fixFileRefused(const QString& output) {
  return QStringLiteral("Cannot write %1: it is the fix file being read").arg(QDir::toNativeSeparators(output));
}

ExportOutcome failure(const QString& error) { return {false, error, {}, {}}; }

// The outcome of a failed write; a folder that takes no new file is told with the option that names another.
ExportOutcome writeFailed(const WriteResult& written, QStringView option) {
  if (written.unwritableFolder.isEmpty()) return failure(written.error);
  return failure(unwritableFolderMessage(written.unwritableFolder, isProgramFolder(written.unwritableFolder), option));
}

// Reads into `document` the waypoints of the output that --append keeps: none when there is no such file yet.
bool readKept(const QString& output, GpxDocument& document, QString& error) {
  if (!QFileInfo::exists(output)) return true;
  QFile file(output);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(output), file.errorString());
    return false;
  }
  if (document.readBack(file.readAll())) return true;
  error = QStringLiteral("%1: Skelvor did not write this file, so nothing is added to it; it is left as it was")
              .arg(QDir::toNativeSeparators(output));
  return false;
}

// A country's rows on their way to a file, with the flag of each place of its list that the export takes.
struct ExportedCountry {
  CountryRows rows;
  std::vector<bool> taken;
};

qsizetype takenCount(const ExportedCountry& country) {
  return std::count(country.taken.begin(), country.taken.end(), true);
}

std::vector<GpxDocument::Added> added(const std::vector<ExportedCountry>& countries) {
  std::vector<GpxDocument::Added> rows;
  for (const ExportedCountry& country : countries) rows.push_back({&country.rows, &country.taken});
  return rows;
}

ExportOutcome exportCountries(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  CountrySource file(request.fixFile);
  if (!file.error().isEmpty()) return failure(file.error());
  QString error;
  const QString kind = kindOf(request.fixFile, error);
  if (kind.isEmpty()) return failure(error);
  const QStringList fileCodes = order.sorted(file.codes());
  QStringList codes;
  for (const QString& typed : request.countries) {
    const CountryPick pick = pickCountry(fileCodes, table, typed);
    if (!pick.code) return failure(request.fixFile + QStringLiteral(": ") + pick.error);
    codes.append(*pick.code);
  }

  const bool toStandardOutput = request.output == u"-";
  if (!toStandardOutput && isTheFixFile(request.output, request.fixFile))
    return failure(fixFileRefused(request.output));
  GpxDocument document;
  if (request.append && !toStandardOutput && !readKept(request.output, document, error)) return failure(error);
  FixFileLines picked = file.linesOf(codes);
  if (!picked.ok) return failure(picked.error);
  std::vector<ExportedCountry> countries;
  qsizetype taken = 0;
  // The rows are held compactly, and the lines are let go before the rows are sorted.
  for (const QString& code : codes) countries.push_back({CountryRows(picked.lines, code, kind), {}});
  picked.lines = FixLines();
  for (ExportedCountry& country : countries) {
    country.rows.sort(order);
    country.taken = country.rows.taken(request.search);
    taken += takenCount(country);
  }
  if (document.CORPS().isEmpty() && taken == 0)
    return failure(request.fixFile + QStringLiteral(": no waypoint to write: the countries chosen have no row") +
                   (request.search ? QStringLiteral(" that holds \"%1\"").arg(*request.search) : QString()));

  if (toStandardOutput) return {true, {}, document.bytes(added(countries)), {}};
  const WriteResult written = document.write(request.output, added(countries));
  return written.ok ? ExportOutcome{true, {}, {}, {}} : writeFailed(written, u"--output");
}

ExportOutcome exportEachCountry(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  LoadedFile file = load(request.fixFile, order);
  if (!file.error.isEmpty()) return failure(file.error);
  if (!QDir().mkpath(request.folder))
    return failure(QStringLiteral("Cannot write %1: the folder cannot be made").arg(request.folder));
  const QStringList names = countryFileNames(file.codes, table);
  ExportOutcome outcome{true, {}, {}, {}};
  for (qsizetype i = 0; i < file.codes.size(); ++i) {
    const QString& code = file.codes.at(i);
    std::vector<ExportedCountry> country(1);
    country[0].rows =
        CountryRows(std::exchange(file.groups[static_cast<std::size_t>(i)], FixLines()), code, file.kind, order);
    country[0].taken = country[0].rows.taken(request.search);
    if (takenCount(country[0]) == 0) continue;
    const QString path = inFolder(request.folder, names.at(i) + QStringLiteral(".gpx"));
    if (isTheFixFile(path, request.fixFile)) return failure(fixFileRefused(path));
    const WriteResult written = GpxDocument().write(path, added(country));
    if (!written.ok) return writeFailed(written, u"--each-country");
    outcome.standardOutput += (code + u'\t' + path + u'\n').toUtf8();
  }
  return outcome;
}

ExportOutcome listCountries(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  LoadedFile file = load(request.fixFile, order);
  if (!file.error.isEmpty()) return failure(file.error);
  QString listing;
  for (qsizetype i = 0; i < file.codes.size(); ++i) {
    const QString& code = file.codes.at(i);
    const qsizetype rows = CountryRows::count(file.groups[static_cast<std::size_t>(i)], code, file.kind);
    listing += code + u'\t' + countryName(table, code).value_or(QString()) + u'\t' + QString::number(rows) + u'\n';
  }
  return {true, {}, listing.toUtf8(), {}};
}

// A fix file of an export of the fixes within a range: its codes in list order, and for those that have any, the rows
// in range and those that cannot be placed.
struct NearFile {
  QString path;
  QStringList codes;
  QHash<QString, CountryInRange> countries;
};

// Reads every file of a near request, in order; nothing, and the reason in `error`, when one cannot be exported from.
std::vector<NearFile> readNear(const ExportRequest& request, const ListOrder& order, QString& error) {
  const Range range(request.around->point, request.around->km);
  std::vector<NearFile> files;
  for (const QString& path : QStringList{request.fixFile} + request.moreFiles) {
    const QString kind = kindOf(path, error);
    if (kind.isEmpty()) return {};
    // Only the lines in range, or that cannot be placed, take room.
    const FixFileLines read = readFixFileLines(path, rangeTest(kind, range));
    if (!read.ok) {
      error = read.error;
      return {};
    }
    NearFile& file = files.emplace_back(NearFile{path, order.sorted(read.codes), {}});
    for (CountryInRange& country : rowsInRange(read.lines, kind, range))
      file.countries.insert(country.code, std::move(country));
  }
  return files;
}

QString unplacedNote(qsizetype unplaced) {
  return unplaced == 1 ? QStringLiteral("1 fix without usable coordinates was left out")
                       : QStringLiteral("%1 fixes without usable coordinates were left out").arg(unplaced);
}

ExportOutcome exportNear(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  const QStringList paths = QStringList{request.fixFile} + request.moreFiles;
  const bool toStandardOutput = request.output == u"-";
  for (const QString& path : paths)
    if (!toStandardOutput && isTheFixFile(request.output, path)) return failure(fixFileRefused(request.output));
  QString error;
  std::vector<NearFile> files = readNear(request, order, error);
  if (files.empty()) return failure(error);
  // A country named takes part from every file that holds it; a name that no file holds is a mistake.
  QSet<QString> chosen;
  for (const QString& typed : request.countries) {
    bool held = false;
    QString fault;
    for (const NearFile& file : files) {
      const CountryPick pick = pickCountry(file.codes, table, typed);
      held = held || pick.code.has_value();
      if (pick.code) chosen.insert(*pick.code);
      if (!pick.code && fault.isEmpty()) fault = file.path + QStringLiteral(": ") + pick.error;
    }
    if (!held)
      return failure(files.size() == 1 ? fault : QStringLiteral("no file given holds the country \"%1\"").arg(typed));
  }

  GpxDocument document;
  if (request.append && !toStandardOutput && !readKept(request.output, document, error)) return failure(error);
  std::vector<ExportedCountry> countries;
  qsizetype taken = 0;
  qsizetype unplaced = 0;
  for (NearFile& file : files) {
    for (const QString& code : file.codes) {
      const auto found = file.countries.find(code);
      if (found == file.countries.end() || (!request.countries.isEmpty() && !chosen.contains(code))) continue;
      CountryInRange& country = *found;
      unplaced += std::ranges::count(country.unplaced.taken(request.search), true);
      if (country.rows.isEmpty()) continue;
      ExportedCountry& exported = countries.emplace_back(ExportedCountry{std::move(country.rows), {}});
      exported.rows.sort(order);
      exported.taken = exported.rows.taken(request.search);
      taken += takenCount(exported);
    }
  }
  ExportOutcome outcome{true, {}, {}, {}};
  if (unplaced > 0) outcome.notes.append(unplacedNote(unplaced));
  if (taken == 0)
    outcome.notes.append(
        QStringLiteral("no fix within %1 of %2 %3; %4")
            .arg(request.around->distanceText, request.around->pointText,
                 request.search ? QStringLiteral("holds \"%1\"").arg(*request.search) : QStringLiteral("was found"),
                 document.CORPS().isEmpty() ? QStringLiteral("the GPX file holds no waypoint")
                                            : QStringLiteral("no waypoint was added")));
  if (toStandardOutput) {
    outcome.standardOutput = document.bytes(added(countries));
    return outcome;
  }
  const WriteResult written = document.write(request.output, added(countries));
  return written.ok ? outcome : writeFailed(written, u"--output");
}

ExportOutcome listNear(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  QString error;
  const std::vector<NearFile> files = readNear(request, order, error);
  if (files.empty()) return failure(error);
  QStringList codes;
  QHash<QString, qsizetype> inRange;
  qsizetype unplaced = 0;
  for (const NearFile& file : files) {
    for (const QString& code : file.codes) {
      const auto country = file.countries.constFind(code);
      if (country == file.countries.cend()) continue;
      unplaced += country->unplaced.size();
      if (country->rows.isEmpty()) continue;
      if (!inRange.contains(code)) codes.append(code);
      inRange[code] += country->rows.size();
    }
  }
  QString listing;
  for (const QString& code : order.sorted(codes))
    listing += code + u'\t' + countryName(table, code).value_or(QString()) + u'\t' +
               QString::number(inRange.value(code)) + u'\n';
  ExportOutcome outcome{true, {}, listing.toUtf8(), {}};
  if (unplaced > 0) outcome.notes.append(unplacedNote(unplaced));
  return outcome;
}

}  // namespace

ExportOutcome runExport(const ExportRequest& request) {
  const ListOrder order;
  TerritoryTable table;
  fillTerritories(table);
  if (request.around)
    return request.mode == ExportRequest::Mode::ListCountries ? listNear(request, order, table)
                                                              : exportNear(request, order, table);
  switch (request.mode) {
    case ExportRequest::Mode::Countries:
      return exportCountries(request, order, table);
    case ExportRequest::Mode::EachCountry:
      return exportEachCountry(request, order, table);
    case ExportRequest::Mode::ListCountries:
      return listCountries(request, order, table);
  }
  return failure(QStringLiteral("unknown mode"));
}

}  // namespace skelvor

#include "exporter.h"

#include "fixfile.h"
#include "gpx.h"
#include "listtext.h"
#include "paths.h"
#include "resultrows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <utility>
#include <vector>

namespace skelvor {

namespace {

// Characters that Windows, macOS or Linux refuse in a file name, besides the controls.
constexpr QStringView kRefusedCharacters = u"/\\:*?\"<>|";

// Long enough for any country name, short enough for every file system once ".gpx" and a suffix are added.
constexpr qsizetype kLongestName = 100;

// Names that Windows keeps for devices, whatever follows their first dot.
bool isDeviceName(QStringView name) {
  const QStringView stem = name.first(name.indexOf(u'.') < 0 ? name.size() : name.indexOf(u'.'));
  for (const char* device : {"CON", "PRN", "AUX", "NUL"})
    if (stem.compare(QLatin1StringView(device), Qt::CaseInsensitive) == 0) return true;
  if (stem.size() != 4 || !stem[3].isDigit() || stem[3] == u'0') return false;
  return stem.first(3).compare(u"COM", Qt::CaseInsensitive) == 0 ||
         stem.first(3).compare(u"LPT", Qt::CaseInsensitive) == 0;
}

// A fix file on its way through an export: its kind, its codes in list order and its lines, held as the file's bytes;
// or the reason it cannot be exported from.
struct LoadedFile {
  QString error;
  QString kind;
  QStringList codes;
  FixLines lines;
};

LoadedFile load(const QString& path, const ListOrder& order) {
  LoadedFile loaded;
  FixFileLines file = readFixFileLines(path);
  if (!file.ok) {
    loaded.error = file.error;
    return loaded;
  }
  loaded.kind = fileKind(QFileInfo(path).fileName(), QString());
  if (loaded.kind.isEmpty()) {
    loaded.error =
        QStringLiteral("%1: the file name tells no kind of fixes; it must contain Navaid, Waypoint or Airport")
            .arg(path);
    return loaded;
  }
  loaded.lines = std::move(file.lines);
  loaded.codes = order.sorted(collectCodes(loaded.lines));
  return loaded;
}

// The lines of each of the file's codes, in the order of its codes; the file itself is let go.
std::vector<FixLines> byCountry(LoadedFile& file) {
  std::vector<FixLines> groups = file.lines.linesByCode(file.codes);
  file.lines = FixLines();
  return groups;
}

QString gpxHead() { return gpxDeclaration() + gpxOpeningTag(); }

// Whether writing `output` would replace the fix file being read.
bool isTheFixFile(const QString& output, const QString& fixFile) {
  const QString target = QFileInfo(output).canonicalFilePath();
  return !target.isEmpty() && target == QFileInfo(fixFile).canonicalFilePath();
}

QString fixFileRefused(const QString& output) {
  return QStringLiteral("Cannot write %1: it is the fix file being read").arg(QDir::toNativeSeparators(output));
}

ExportOutcome failure(const QString& error) { return {false, error, {}}; }

// The waypoints already in the output that --append keeps: none when there is no such file yet.
std::optional<QString> keptBody(const QString& output, QString& error) {
  if (!QFileInfo::exists(output)) return QString();
  QFile file(output);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("Cannot read %1: %2").arg(QDir::toNativeSeparators(output), file.errorString());
    return std::nullopt;
  }
  std::optional<QString> body = gpxBody(file.readAll(), gpxHead(), gpxClosingTag());
  if (!body)
    error = QStringLiteral("%1: Skelvor did not write this file, so nothing is added to it; it is left as it was")
                .arg(QDir::toNativeSeparators(output));
  return body;
}

ExportOutcome exportCountries(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  LoadedFile file = load(request.fixFile, order);
  if (!file.error.isEmpty()) return failure(file.error);
  QStringList codes;
  for (const QString& typed : request.countries) {
    const CountryPick pick = pickCountry(file.codes, table, typed);
    if (!pick.code) return failure(request.fixFile + QStringLiteral(": ") + pick.error);
    codes.append(*pick.code);
  }

  const bool toStandardOutput = request.output == u"-";
  if (!toStandardOutput && isTheFixFile(request.output, request.fixFile))
    return failure(fixFileRefused(request.output));
  QString body;
  if (request.append && !toStandardOutput) {
    QString error;
    std::optional<QString> kept = keptBody(request.output, error);
    if (!kept) return failure(error);
    body = std::move(*kept);
  }
  // Only the lines of the chosen countries are kept, and the file is let go before their rows take their room; each
  // country's lines go once its rows are built, before the sort.
  FixLines picked = file.lines.linesOf(codes);
  file.lines = FixLines();
  for (qsizetype i = 0; i < codes.size(); ++i) {
    QStringList rows = resultRows(picked, codes.at(i), file.kind);
    if (i == codes.size() - 1) picked = FixLines();
    rows = order.sorted(std::move(rows));
    appendSelectedWaypointBlocks(body, rows, exportedRows(rows, request.search));
  }
  if (body.isEmpty())
    return failure(request.fixFile + QStringLiteral(": no waypoint to write: the countries chosen have no row") +
                   (request.search ? QStringLiteral(" that holds \"%1\"").arg(*request.search) : QString()));

  QByteArray bytes = gpxFileBytes(gpxHead(), body, gpxClosingTag());
  body = QString();
  if (toStandardOutput) return {true, {}, std::move(bytes)};
  const WriteResult written = writeFileAtomically(request.output, bytes);
  return written.ok ? ExportOutcome{true, {}, {}} : failure(written.error);
}

ExportOutcome exportEachCountry(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  LoadedFile file = load(request.fixFile, order);
  if (!file.error.isEmpty()) return failure(file.error);
  if (!QDir().mkpath(request.folder))
    return failure(QStringLiteral("Cannot write %1: the folder cannot be made").arg(request.folder));
  const QStringList names = countryFileNames(file.codes, table);
  std::vector<FixLines> groups = byCountry(file);
  ExportOutcome outcome{true, {}, {}};
  for (qsizetype i = 0; i < file.codes.size(); ++i) {
    const QString& code = file.codes.at(i);
    const QStringList rows =
        countryRows(std::exchange(groups[static_cast<std::size_t>(i)], FixLines()), code, file.kind, order);
    QString body;
    appendSelectedWaypointBlocks(body, rows, exportedRows(rows, request.search));
    if (body.isEmpty()) continue;
    const QString path = inFolder(request.folder, names.at(i) + QStringLiteral(".gpx"));
    if (isTheFixFile(path, request.fixFile)) return failure(fixFileRefused(path));
    const WriteResult written = writeFileAtomically(path, gpxFileBytes(gpxHead(), body, gpxClosingTag()));
    if (!written.ok) return failure(written.error);
    outcome.standardOutput += (code + u'\t' + path + u'\n').toUtf8();
  }
  return outcome;
}

ExportOutcome listCountries(const ExportRequest& request, const ListOrder& order, const TerritoryTable& table) {
  LoadedFile file = load(request.fixFile, order);
  if (!file.error.isEmpty()) return failure(file.error);
  const std::vector<FixLines> groups = byCountry(file);
  QString listing;
  for (qsizetype i = 0; i < file.codes.size(); ++i) {
    const QString& code = file.codes.at(i);
    const qsizetype rows = resultRows(groups[static_cast<std::size_t>(i)], code, file.kind).size();
    listing += code + u'\t' + countryName(table, code).value_or(QString()) + u'\t' + QString::number(rows) + u'\n';
  }
  return {true, {}, listing.toUtf8()};
}

}  // namespace

// The name list of the window holds the names of the codes that the table knows exactly, and picking a name sets the
// code list's text to the name's code, which then stands in the file as it is.
CountryPick pickCountry(const QStringList& codes, const TerritoryTable& table, const QString& typed) {
  const qsizetype item = pickedItem(codes, typed);
  if (item >= 0) return {codes.at(item), {}};
  if (const auto code = countryCode(table, typed)) {
    if (codes.contains(*code)) return {*code, {}};
    return {std::nullopt, QStringLiteral("%1 (code %2) is not in the file").arg(typed, *code)};
  }
  if (countryName(table, typed))
    return {std::nullopt, QStringLiteral("the country code %1 is not in the file").arg(typed)};
  return {std::nullopt,
          QStringLiteral("\"%1\" is neither a country code of the file nor a country name of the territory table")
              .arg(typed)};
}

QStringList countryRows(const FixLines& lines, const QString& code, const QString& kind, const ListOrder& order) {
  return order.sorted(resultRows(lines, code, kind));
}

std::vector<bool> exportedRows(const QStringList& rows, const std::optional<QString>& search) {
  std::vector<bool> flags(static_cast<std::size_t>(rows.size()), !search);
  if (search)
    for (const auto& [first, last] : findRows(rows, *search).ranges)
      std::fill(flags.begin() + first, flags.begin() + last + 1, true);
  return flags;
}

std::optional<QString> gpxBody(const QByteArray& bytes, const QString& head, const QString& foot) {
  const QByteArray headBytes = head.toUtf8();
  const QByteArray footBytes = (foot + QStringLiteral("\r\n")).toUtf8();
  if (bytes.size() < headBytes.size() + footBytes.size() || !bytes.startsWith(headBytes) || !bytes.endsWith(footBytes))
    return std::nullopt;
  const QByteArrayView body =
      QByteArrayView(bytes).sliced(headBytes.size(), bytes.size() - headBytes.size() - footBytes.size());
  if (!body.isValidUtf8()) return std::nullopt;
  return QString::fromUtf8(body);
}

QString safeFileName(QString name) {
  if (name.size() > kLongestName)
    name.truncate(name[kLongestName - 1].isHighSurrogate() ? kLongestName - 1 : kLongestName);
  for (QChar& c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || kRefusedCharacters.contains(c)) c = u'_';
  for (qsizetype i = name.size() - 1; i >= 0 && (name[i] == u'.' || name[i] == u' '); --i) name[i] = u'_';
  if (name.startsWith(u'.')) name[0] = u'_';
  if (name.isEmpty()) name = QStringLiteral("_");
  if (isDeviceName(name)) name += u'_';
  return name;
}

// A suffix of a safe name keeps it safe: it ends in ")" or a digit and leaves the name's start alone.
QStringList countryFileNames(const QStringList& codes, const TerritoryTable& table) {
  QSet<QString> taken;
  QStringList names;
  for (const QString& code : codes) {
    const QString base = safeFileName(countryName(table, code).value_or(code));
    QString name = base;
    if (taken.contains(name.toCaseFolded())) name = base + QStringLiteral(" (") + safeFileName(code) + u')';
    for (int n = 2; taken.contains(name.toCaseFolded()); ++n) name = base + u' ' + QString::number(n);
    taken.insert(name.toCaseFolded());
    names.append(name);
  }
  return names;
}

ExportOutcome runExport(const ExportRequest& request) {
  const ListOrder order;
  TerritoryTable table;
  fillTerritories(table);
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

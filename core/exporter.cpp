#include "exporter.h"

#include "fixfile.h"
#include "gpx.h"
#include "listtext.h"
#include "paths.h"
#include "prefetch.h"
#include "resultrows.h"

#include <QBuffer>
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

// The kind of fixes that the name of the fix file at `path` tells; empty, and the reason in `error`, when it tells
// none.
QString kindOf(const QString& path, QString& error) {
  const QString kind = fileKind(QFileInfo(path).fileName(), QString());
  if (kind.isEmpty())
    error = QStringLiteral("%1: the file name tells no kind of fixes; it must contain Navaid, Waypoint or Airport")
                .arg(path);
  return kind;
}

// A fix file read for an export of some of its countries, whole or in two passes: for its codes, then for the lines of
// the chosen countries, so that the rest of it never takes room.
class CountrySource {
 public:
  explicit CountrySource(const QString& path) : path_(path) {
    if (const QFileInfo info(path); info.isFile() && readInTwoPasses(info.size())) {
      scan_ = readFixFileCodes(path);
      error_ = scan_->error;
      codes_ = scan_->codes;
      return;
    }
    whole_ = readFixFileLines(path);
    error_ = whole_.error;
    if (whole_.ok) codes_ = collectCodes(whole_.lines);
  }

  const QString& error() const { return error_; }
  /// The file's codes in order of first appearance.
  const QStringList& codes() const { return codes_; }
  /// Lines that hold at least those of `chosen`, decoded as the whole file; the source lets go of them.
  FixFileLines linesOf(const QStringList& chosen) {
    return scan_ ? readFixFileLinesOf(path_, *scan_, chosen) : std::exchange(whole_, FixFileLines());
  }

 private:
  QString path_;
  QString error_;
  QStringList codes_;
  std::optional<FixFileCodes> scan_;
  FixFileLines whole_;
};

LoadedFile load(const QString& path, const ListOrder& order) {
  LoadedFile loaded;
  FixFileLines file = readFixFileLines(path);
  if (!file.ok) {
    loaded.error = file.error;
    return loaded;
  }
  loaded.kind = kindOf(path, loaded.error);
  if (loaded.kind.isEmpty()) return loaded;
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

// The outcome of a failed write; a folder that takes no new file is told with the option that names another.
ExportOutcome writeFailed(const WriteResult& written, QStringView option) {
  if (written.unwritableFolder.isEmpty()) return failure(written.error);
  return failure(unwritableFolderMessage(written.unwritableFolder, isProgramFolder(written.unwritableFolder), option));
}

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

// A country's rows on their way to a file, with the flag of each place of its list that the export takes.
struct ExportedCountry {
  CountryRows rows;
  std::vector<bool> taken;
};

qsizetype takenCount(const ExportedCountry& country) {
  return std::count(country.taken.begin(), country.taken.end(), true);
}

// Writes the waypoint blocks of the rows a country's export takes, in list order, gathered a piece at a time.
bool writeBlocks(Utf8Writer& out, const ExportedCountry& country) {
  constexpr qsizetype kPiece = 1 << 15;  // characters: a little more once the last block is in
  QString blocks;
  blocks.reserve(2 * kPiece);
  const std::size_t places = country.taken.size();
  const CompactRows& rows = country.rows.rows;
  const std::vector<qsizetype>& order = country.rows.order;
  constexpr std::size_t kPlaceAhead = 16;
  constexpr std::size_t kTextAhead = 8;
  for (std::size_t place = 0; place < std::min(places, kPlaceAhead); ++place) rows.prefetchPlace(order[place]);
  for (std::size_t place = 0; place < places; ++place) {
    if (place + kPlaceAhead < places) rows.prefetchPlace(order[place + kPlaceAhead]);
    if (place + kTextAhead < places) {
      // The name is read at the row's start, the coordinates at its end.
      const QStringView ahead = rows.compact(order[place + kTextAhead]);
      prefetch(ahead.data());
      prefetch(ahead.data() + ahead.size() - 1);
    }
    if (!country.taken[place]) continue;
    appendRowWaypointBlock(blocks, rows.compact(order[place]));
    if (blocks.size() < kPiece) continue;
    if (!out.write(blocks)) return false;
    blocks.resize(0);
  }
  return out.write(blocks);
}

// Writes a whole GPX file: the head, `kept` (the blocks of an earlier file), the blocks of `countries`, the foot.
bool writeGpx(QIODevice& device, QStringView kept, const std::vector<ExportedCountry>& countries) {
  Utf8Writer out(device);
  if (!out.write(gpxHead()) || !out.write(kept)) return false;
  for (const ExportedCountry& country : countries)
    if (!writeBlocks(out, country)) return false;
  return out.write(gpxClosingTag()) && out.write(gpxFileEnd());
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
  QString kept;
  if (request.append && !toStandardOutput) {
    std::optional<QString> body = keptBody(request.output, error);
    if (!body) return failure(error);
    kept = std::move(*body);
  }
  // The rows are held compactly, and the lines are let go before the rows are sorted.
  FixFileLines picked = file.linesOf(codes);
  if (!picked.ok) return failure(picked.error);
  std::vector<CompactRows> rows;
  for (const QString& code : codes) rows.push_back(compactRows(picked.lines, code, kind));
  picked.lines = FixLines();
  std::vector<ExportedCountry> countries;
  qsizetype taken = 0;
  for (CompactRows& country : rows) {
    CountryRows ordered = countryRows(std::move(country), order);
    std::vector<bool> flags = exportedRows(ordered, request.search);
    countries.push_back({std::move(ordered), std::move(flags)});
    taken += takenCount(countries.back());
  }
  if (kept.isEmpty() && taken == 0)
    return failure(request.fixFile + QStringLiteral(": no waypoint to write: the countries chosen have no row") +
                   (request.search ? QStringLiteral(" that holds \"%1\"").arg(*request.search) : QString()));

  if (toStandardOutput) {
    ExportOutcome outcome{true, {}, {}};
    QBuffer buffer(&outcome.standardOutput);
    buffer.open(QIODevice::WriteOnly);
    writeGpx(buffer, kept, countries);
    return outcome;
  }
  const WriteResult written =
      writeFileAtomically(request.output, [&](QIODevice& device) { return writeGpx(device, kept, countries); });
  return written.ok ? ExportOutcome{true, {}, {}} : writeFailed(written, u"--output");
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
    std::vector<ExportedCountry> country(1);
    country[0].rows = countryRows(
        compactRows(std::exchange(groups[static_cast<std::size_t>(i)], FixLines()), code, file.kind), order);
    country[0].taken = exportedRows(country[0].rows, request.search);
    if (takenCount(country[0]) == 0) continue;
    const QString path = inFolder(request.folder, names.at(i) + QStringLiteral(".gpx"));
    if (isTheFixFile(path, request.fixFile)) return failure(fixFileRefused(path));
    const WriteResult written =
        writeFileAtomically(path, [&](QIODevice& device) { return writeGpx(device, {}, country); });
    if (!written.ok) return writeFailed(written, u"--each-country");
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
    const qsizetype rows = compactRows(groups[static_cast<std::size_t>(i)], code, file.kind).size();
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

CountryRows countryRows(CompactRows rows, const ListOrder& order) {
  CountryRows country{std::move(rows), {}};
  country.order = order.sortedIndices(country.rows);
  return country;
}

std::vector<bool> exportedRows(const CountryRows& country, const std::optional<QString>& search) {
  if (!search) return std::vector<bool>(country.order.size(), true);
  const RowFinder finder(*search);
  std::vector<bool> flags;
  flags.reserve(country.order.size());
  QString room;
  for (const qsizetype row : country.order) flags.push_back(finder.holds(country.rows.whole(row, room)));
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

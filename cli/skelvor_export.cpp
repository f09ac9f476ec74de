// skelvor-export: the fixes of chosen countries written as GPX waypoints from a script, byte for byte as the window
// writes them.
#include "exporter.h"
#include "utf8console.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr char kDescription[] = R"(Writes the fixes of a fix file as GPX 1.0 waypoints, in the order and with the bytes
that the Skelvor window writes for the same file, country and Find text.

Examples:
  skelvor-export "Sample Waypoints.csv" --country LF
  skelvor-export "Sample Airports.csv" --country France --country EG --output trip.gpx
  skelvor-export "Sample Navaids.csv" --country LF --find VOR --output - > vor.gpx
  skelvor-export "Sample Waypoints.csv" --country EG --output trip.gpx --append
  skelvor-export "Sample Waypoints.csv" --each-country maps
  skelvor-export "Sample Waypoints.csv" --list-countries
  skelvor-export "World Airports.csv" "World Navaids.csv" --near 50.63,3.07 --within 250nm --output receiver.gpx

With --near, the fixes within a distance of a point, a receiver's for example, are written from every country of
every FILE, or of the countries named: files in the order given, countries in the order of the window's code list.
Fixes whose coordinates are not decimal degrees are left out, and counted on the standard error.

Exit status: 0 done; 1 a file or a country cannot be used, and a message says why; 2 wrong arguments.)";

void say(const QString& message) { std::fprintf(stderr, "skelvor-export: %s\n", qUtf8Printable(message)); }

int fail(int status, const QString& message) {
  say(message);
  if (status == 2) std::fprintf(stderr, "Try 'skelvor-export --help'.\n");
  return status;
}

// Writes `bytes` whole to the standard output, unchanged (no line end conversion); false when it refuses them.
bool writeStandardOutput(const QByteArray& bytes) {
#ifdef Q_OS_WIN
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const std::size_t size = static_cast<std::size_t>(bytes.size());
  return std::fwrite(bytes.constData(), 1, size, stdout) == size && std::fflush(stdout) == 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Static, so that it is given back when Qt's --help and --version end the program with exit().
  [[maybe_unused]] static const skelvor::Utf8Console console;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("skelvor-export"));
  QCoreApplication::setApplicationVersion(QStringLiteral(SKELVOR_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(kDescription));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("The fix file; its name tells the kind. Several with --near."),
                               QStringLiteral("FILE [FILE ...]"));
  const QCommandLineOption country({"c", "country"},
                                   "A country code as the file holds it, or a country name; "
                                   "repeat it to write several countries into one file.",
                                   "CODE|NAME");
  const QCommandLineOption find({"f", "find"}, "Write only the rows that hold TEXT, letter case ignored.", "TEXT");
  const QCommandLineOption output({"o", "output"}, "The GPX file to write (default VOK.gpx); - for standard output.",
                                  "PATH", "VOK.gpx");
  const QCommandLineOption append({"a", "append"}, "Keep the waypoints of the GPX file Skelvor wrote there before.");
  const QCommandLineOption each("each-country", "Write one GPX file per country into DIR.", "DIR");
  const QCommandLineOption list(
      "list-countries",
      "Print code, name and number of rows of every country; with --near, the number of fixes in range of each "
      "country that has any.");
  const QCommandLineOption nearOption(
      "near",
      "Write the fixes within --within of the point LAT,LON, in decimal degrees with north "
      "and east positive, from every country or those of --country.",
      "LAT,LON");
  const QCommandLineOption within("within", "The distance of --near with its unit, km or nm: 250nm, 400km.",
                                  "DISTANCE");
  parser.addOptions({country, find, output, append, each, list, nearOption, within});

  if (!parser.parse(QCoreApplication::arguments())) return fail(2, parser.errorText());
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();

  skelvor::ExportRequest request;
  QStringList files = parser.positionalArguments();
  if (parser.isSet(nearOption) != parser.isSet(within))
    return fail(2, QStringLiteral("--near and --within go together"));
  if (parser.isSet(nearOption)) {
    if (files.isEmpty()) return fail(2, QStringLiteral("give one fix file or more"));
    if (parser.isSet(each)) return fail(2, QStringLiteral("--near does not go with --each-country"));
    if (parser.isSet(list) && parser.isSet(country))
      return fail(2, QStringLiteral("--country does not go with --list-countries"));
    if (parser.isSet(list) && (parser.isSet(output) || parser.isSet(append)))
      return fail(2, QStringLiteral("--output and --append do not go with --list-countries"));
    QString error;
    const std::optional<skelvor::GeoPoint> point = skelvor::parsePoint(parser.value(nearOption), error);
    if (!point) return fail(2, QStringLiteral("--near %1: %2").arg(parser.value(nearOption), error));
    const std::optional<double> km = skelvor::parseDistance(parser.value(within), error);
    if (!km) return fail(2, QStringLiteral("--within %1: %2").arg(parser.value(within), error));
    request.around = {*point, *km, parser.value(nearOption), parser.value(within)};
  } else {
    const int modes = int{parser.isSet(country)} + int{parser.isSet(each)} + int{parser.isSet(list)};
    if (files.size() != 1) return fail(2, QStringLiteral("give one fix file, or several with --near"));
    if (modes != 1) return fail(2, QStringLiteral("give --country, --each-country or --list-countries, one of them"));
    if (!parser.isSet(country) && (parser.isSet(output) || parser.isSet(append)))
      return fail(2, QStringLiteral("--output and --append go with --country only"));
  }
  if (parser.isSet(list) && parser.isSet(find))
    return fail(2, QStringLiteral("--find does not go with --list-countries"));
  if (parser.isSet(append) && parser.value(output) == u"-")
    return fail(2, QStringLiteral("--append needs a file, not the standard output"));
  request.mode = parser.isSet(each)   ? skelvor::ExportRequest::Mode::EachCountry
                 : parser.isSet(list) ? skelvor::ExportRequest::Mode::ListCountries
                                      : skelvor::ExportRequest::Mode::Countries;
  request.fixFile = files.takeFirst();
  request.moreFiles = files;
  request.countries = parser.values(country);
  if (parser.isSet(find)) request.search = parser.value(find);
  request.output = parser.value(output);
  request.append = parser.isSet(append);
  request.folder = parser.value(each);

  const skelvor::ExportOutcome outcome = skelvor::runExport(request);
  if (!outcome.ok) return fail(1, outcome.error);
  if (!writeStandardOutput(outcome.standardOutput))
    return fail(1, QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
  for (const QString& note : outcome.notes) say(note);
  return 0;
}

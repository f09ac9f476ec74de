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

Exit status: 0 done; 1 a file or a country cannot be used, and a message says why; 2 wrong arguments.)";

int fail(int status, const QString& message) {
  std::fprintf(stderr, "skelvor-export: %s\n", qUtf8Printable(message));
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
  parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The fix file; its name tells the kind."));
  const QCommandLineOption country({"c", "country"},
                                   "A country code as the file holds it, or a country name; "
                                   "repeat it to write several countries into one file.",
                                   "CODE|NAME");
  const QCommandLineOption find({"f", "find"}, "Write only the rows that hold TEXT, letter case ignored.", "TEXT");
  const QCommandLineOption output({"o", "output"}, "The GPX file to write (default VOK.gpx); - for standard output.",
                                  "PATH", "VOK.gpx");
  const QCommandLineOption append({"a", "append"}, "Keep the waypoints of the GPX file Skelvor wrote there before.");
  const QCommandLineOption each("each-country", "Write one GPX file per country into DIR.", "DIR");
  const QCommandLineOption list("list-countries", "Print code, name and number of rows of every country.");
  parser.addOptions({country, find, output, append, each, list});

  if (!parser.parse(QCoreApplication::arguments())) return fail(2, parser.errorText());
  if (parser.isSet(help)) parser.showHelp(0);
  if (parser.isSet(version)) parser.showVersion();

  skelvor::ExportRequest request;
  const int modes = int{parser.isSet(country)} + int{parser.isSet(each)} + int{parser.isSet(list)};
  if (parser.positionalArguments().size() != 1) return fail(2, QStringLiteral("give one fix file"));
  if (modes != 1) return fail(2, QStringLiteral("give --country, --each-country or --list-countries, one of them"));
  if (!parser.isSet(country) && (parser.isSet(output) || parser.isSet(append)))
    return fail(2, QStringLiteral("--output and --append go with --country only"));
  if (parser.isSet(list) && parser.isSet(find))
    return fail(2, QStringLiteral("--find does not go with --list-countries"));
  if (parser.isSet(append) && parser.value(output) == u"-")
    return fail(2, QStringLiteral("--append needs a file, not the standard output"));
  request.mode = parser.isSet(each)   ? skelvor::ExportRequest::Mode::EachCountry
                 : parser.isSet(list) ? skelvor::ExportRequest::Mode::ListCountries
                                      : skelvor::ExportRequest::Mode::Countries;
  request.fixFile = parser.positionalArguments().constFirst();
  request.countries = parser.values(country);
  if (parser.isSet(find)) request.search = parser.value(find);
  request.output = parser.value(output);
  request.append = parser.isSet(append);
  request.folder = parser.value(each);

  const skelvor::ExportOutcome outcome = skelvor::runExport(request);
  if (!outcome.ok) return fail(1, outcome.error);
  if (!writeStandardOutput(outcome.standardOutput))
    return fail(1, QStringLiteral("standard output: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
  return 0;
}

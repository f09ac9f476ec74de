// skelvor-import: turns the OurAirports dumps or X-Plane navigation data into fix files for the window.
#include "importjob.h"
#include "utf8console.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

constexpr char kProgram[] = "skelvor-import";

int refuseArguments(const QString& cause) {
  std::fprintf(stderr, "%s: %s\n%s: see %s --help\n", kProgram, qUtf8Printable(cause), kProgram, kProgram);
  return 2;
}

// Inputs larger than this get a line on a terminal's stderr while they are read.
constexpr qint64 kProgressSize = 4 * 1024 * 1024;

void announce(const QString& path) {
  const qint64 size = QFileInfo(path).size();
  if (size < kProgressSize || !isatty(2)) return;
  std::fprintf(stderr, "%s: reading %s (%.1f MB)\n", kProgram, qUtf8Printable(QDir::toNativeSeparators(path)),
               static_cast<double>(size) / 1e6);
}

}  // namespace

int main(int argc, char* argv[]) {
  // Static, so that it is given back when Qt's --help and --version end the program with exit().
  [[maybe_unused]] static const skelvor::Utf8Console console;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QString::fromLatin1(kProgram));
  QCoreApplication::setApplicationVersion(QStringLiteral(SKELVOR_VERSION));

  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Writes fix files for Skelvor from the public OurAirports data or from X-Plane navigation data.\n\n"
      "ourairports: airports.csv and navaids.csv from https://ourairports.com/data/ give \"<name> Airports.csv\" "
      "(land airfields with an ICAO identifier) and \"<name> Navaids.csv\".\n"
      "  Example: skelvor-import ourairports --airports airports.csv --navaids navaids.csv\n"
      "xplane: earth_fix.dat and earth_nav.dat of X-Plane (version 1100 or later) give \"<name> Waypoints.csv\" "
      "(en-route fixes; --terminal adds the terminal ones) and \"<name> Navaids.csv\" (NDB, VOR, DME).\n"
      "  Example: skelvor-import xplane --fixes earth_fix.dat --navaids earth_nav.dat --name XPlane\n\n"
      "The files go to the folder of skelvor-import, where the window looks, unless --output names another. "
      "An earlier file of the same name is replaced only once the new one is complete."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("source"), QStringLiteral("ourairports or xplane"));
  const QCommandLineOption airports(QStringLiteral("airports"), QStringLiteral("OurAirports airports.csv"),
                                    QStringLiteral("file"));
  const QCommandLineOption navaids(QStringLiteral("navaids"),
                                   QStringLiteral("OurAirports navaids.csv, or X-Plane earth_nav.dat"),
                                   QStringLiteral("file"));
  const QCommandLineOption fixes(QStringLiteral("fixes"), QStringLiteral("X-Plane earth_fix.dat"),
                                 QStringLiteral("file"));
  const QCommandLineOption terminal(QStringLiteral("terminal"),
                                    QStringLiteral("X-Plane: the fixes of airports' terminal areas too"));
  const QCommandLineOption output(QStringLiteral("output"), QStringLiteral("the folder for the fix files"),
                                  QStringLiteral("folder"), QCoreApplication::applicationDirPath());
  const QCommandLineOption name(QStringLiteral("name"), QStringLiteral("the first word of the file names"),
                                QStringLiteral("name"), QStringLiteral("World"));
  parser.addOptions({airports, navaids, fixes, terminal, output, name});

  if (!parser.parse(QCoreApplication::arguments())) return refuseArguments(parser.errorText());
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
  const QStringList sources = parser.positionalArguments();
  if (sources.size() != 1) return refuseArguments(QStringLiteral("give one source: ourairports or xplane"));
  if (const QString problem = skelvor::nameProblem(parser.value(name)); !problem.isEmpty())
    return refuseArguments(problem);

  skelvor::ImportOutcome outcome;
  if (sources[0] == u"ourairports") {
    if (!parser.isSet(airports)) return refuseArguments(QStringLiteral("ourairports needs --airports"));
    if (parser.isSet(fixes) || parser.isSet(terminal))
      return refuseArguments(QStringLiteral("--fixes and --terminal belong to xplane"));
    outcome = skelvor::importOurAirports(
        {parser.value(airports), parser.value(navaids), parser.value(output), parser.value(name)}, announce);
  } else if (sources[0] == u"xplane") {
    if (!parser.isSet(fixes) && !parser.isSet(navaids))
      return refuseArguments(QStringLiteral("xplane needs --fixes, --navaids or both"));
    if (parser.isSet(airports)) return refuseArguments(QStringLiteral("--airports belongs to ourairports"));
    outcome = skelvor::importXPlane(
        {parser.value(fixes), parser.value(navaids), parser.isSet(terminal), parser.value(output), parser.value(name)},
        announce);
  } else {
    return refuseArguments(QStringLiteral("unknown source \"%1\": give ourairports or xplane").arg(sources[0]));
  }

  if (!outcome.ok()) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, qUtf8Printable(outcome.errorFile), qUtf8Printable(outcome.error));
    return 1;
  }
  std::fputs(qUtf8Printable(skelvor::reportText(outcome)), stdout);
  return 0;
}

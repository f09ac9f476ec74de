// The import times of skelvor-import: the whole OurAirports dump (when the dump is at hand) and 250,000 generated
// X-Plane fixes, from the bytes of the inputs to the bytes of the fix files, and the whole import through files.
#include "fixfile.h"
#include "fixlines.h"
#include "importjob.h"
#include "ourairports.h"
#include "xplanefixes.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>

namespace {

// The folder of the OurAirports dump: SKELVOR_OURAIRPORTS when set, else ../shared/data/ourairports beside the clone.
QString dumpFolder() {
  const QByteArray set = qgetenv("SKELVOR_OURAIRPORTS");
  return set.isEmpty() ? QStringLiteral(SKELVOR_SOURCE_DIR "/../shared/data/ourairports") : QString::fromLocal8Bit(set);
}

// The bytes of `name` in the dump folder, unpacked from `name`.gz when only that is there; empty when neither is.
QByteArray dumpFile(const QString& name) {
  const QString plain = QDir(dumpFolder()).filePath(name);
  QFile file(plain);
  if (file.open(QIODevice::ReadOnly)) return file.readAll();
  if (!QFileInfo::exists(plain + ".gz")) return {};
  QProcess gzip;
  gzip.start(QStringLiteral("gzip"), {"-dc", plain + ".gz"});
  if (!gzip.waitForFinished(120000) || gzip.exitCode() != 0) return {};
  return gzip.readAllStandardOutput();
}

// 250,000 fixes in the layout of earth_fix.dat 1200: nine-decimal coordinates, five-letter identifiers, one fix in
// five in an airport's terminal area, and a region code among forty.
QByteArray generatedFixes(int count) {
  std::mt19937 random(20260807);
  std::uniform_real_distribution<double> latitude(-80.0, 80.0);
  std::uniform_real_distribution<double> longitude(-180.0, 180.0);
  std::uniform_int_distribution<int> letter(0, 25);
  std::uniform_int_distribution<int> region(0, 39);
  std::uniform_int_distribution<int> fifth(0, 4);
  QByteArray text = "I\n1200 Version - generated fixes for the import benchmark\n";
  text.reserve(count * 60);
  char line[128];
  for (int i = 0; i < count; ++i) {
    char ident[6];
    for (int k = 0; k < 5; ++k) ident[k] = static_cast<char>('A' + letter(random));
    ident[5] = '\0';
    const int r = region(random);
    std::snprintf(line, sizeof line, "%13.9f %14.9f %s %s %c%c 2105423 %s\n", latitude(random), longitude(random),
                  ident, fifth(random) == 0 ? "KSEA" : "ENRT", 'A' + r % 26, 'A' + r / 2, ident);
    text += line;
  }
  text += "99\n";
  return text;
}

// The OurAirports import from the bytes of both dumps to the bytes of both fix files.
void ourAirportsFromBytes(benchmark::State& state, const QByteArray& airportBytes, const QByteArray& navaidBytes) {
  qsizetype written = 0;
  for (auto _ : state) {
    const skelvor::AirportsRead airports = skelvor::readOurAirportsAirports(skelvor::decodeFixText(airportBytes));
    const skelvor::NavaidsRead navaids = skelvor::readOurAirportsNavaids(skelvor::decodeFixText(navaidBytes));
    const skelvor::AirportLines airportFile = skelvor::airportLines(airports.records);
    const skelvor::ConvertedLines navaidFile = skelvor::navaidLines(navaids.records, airportFile.written);
    const QByteArray airportOut = skelvor::fixFileBytes(airportFile.lines);
    const QByteArray navaidOut = skelvor::fixFileBytes(navaidFile.lines);
    benchmark::DoNotOptimize(airportOut.data());
    benchmark::DoNotOptimize(navaidOut.data());
    written = airportFile.lines.size() + navaidFile.lines.size();
  }
  state.counters["lines"] = static_cast<double>(written);
}

// The whole OurAirports import as skelvor-import runs it: reading the files, writing the fix files.
void ourAirportsThroughFiles(benchmark::State& state, const QString& airports, const QString& navaids) {
  QTemporaryDir output;
  for (auto _ : state) {
    const skelvor::ImportOutcome outcome = skelvor::importOurAirports({airports, navaids, output.path(), "World"});
    if (!outcome.ok()) state.SkipWithError(qPrintable(outcome.error));
  }
}

// 250,000 X-Plane fixes from the bytes of earth_fix.dat to the bytes of the waypoints file.
void xplaneFixes(benchmark::State& state) {
  const QByteArray bytes = generatedFixes(250000);
  qsizetype written = 0;
  for (auto _ : state) {
    const skelvor::XPlaneFixesRead fixes = skelvor::readXPlaneFixes(skelvor::decodeFixText(bytes));
    const skelvor::ConvertedLines lines = skelvor::waypointLines(fixes.fixes, true);
    const QByteArray out = skelvor::fixFileBytes(lines.lines);
    benchmark::DoNotOptimize(out.data());
    written = lines.lines.size();
  }
  state.counters["lines"] = static_cast<double>(written);
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RegisterBenchmark("XPlane250000Fixes", xplaneFixes)->Unit(benchmark::kMillisecond);

  const QByteArray airports = dumpFile(QStringLiteral("airports.csv"));
  const QByteArray navaids = dumpFile(QStringLiteral("navaids.csv"));
  QTemporaryDir unpacked;
  if (airports.isEmpty() || navaids.isEmpty()) {
    std::printf(
        "The OurAirports dump is not in %s (airports.csv and navaids.csv, or their .gz): its benchmarks are "
        "skipped. Set SKELVOR_OURAIRPORTS to the folder that holds it.\n",
        qUtf8Printable(dumpFolder()));
  } else {
    const QString airportPath = QDir(unpacked.path()).filePath("airports.csv");
    const QString navaidPath = QDir(unpacked.path()).filePath("navaids.csv");
    for (const auto& [path, bytes] : {std::pair{airportPath, airports}, std::pair{navaidPath, navaids}}) {
      QFile file(path);
      if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return 1;
    }
    benchmark::RegisterBenchmark("OurAirportsDumpFromBytes", ourAirportsFromBytes, airports, navaids)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("OurAirportsDumpThroughFiles", ourAirportsThroughFiles, airportPath, navaidPath)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

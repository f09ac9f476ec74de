// Where the time of skelvor-export goes, on the generated 300,000-line waypoints file with its largest country of
// 50,000 lines: reading the file, its codes in list order, building the rows, sorting them in the user's collation,
// making the waypoint blocks and their bytes; then the whole export as the program runs it, the file written included.
#include "countryrows.h"
#include "exporter.h"
#include "fixfile.h"
#include "fixgen.h"
#include "gpxdocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace skelvor {
namespace {

struct Sample {
  Sample() {
    QFile file(path());
    if (!file.open(QIODevice::WriteOnly) || file.write(generated.bytes) != generated.bytes.size()) std::abort();
  }
  QString path() const { return folder.filePath(QStringLiteral("Bench Waypoints.csv")); }

  QTemporaryDir folder;
  GeneratedFixFile generated = generateWaypointFile();
};

const Sample& sample() {
  static const Sample instance;
  return instance;
}

FixLines fileLines() { return readFixFileLines(sample().path()).lines; }

CountryRows largestCountryRows(const FixLines& lines) {
  return CountryRows(lines, sample().generated.largestCode, u"WPT");
}

void BM_ReadFile(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(fileLines().size());
}
BENCHMARK(BM_ReadFile)->Unit(benchmark::kMillisecond);

void BM_Codes(benchmark::State& state) {
  const FixLines lines = fileLines();
  const ListOrder order;
  for (auto _ : state) benchmark::DoNotOptimize(order.sorted(collectCodes(lines)).constData());
}
BENCHMARK(BM_Codes)->Unit(benchmark::kMillisecond);

void BM_RowsOfOneCountry(benchmark::State& state) {
  const FixLines lines = fileLines();
  for (auto _ : state) benchmark::DoNotOptimize(largestCountryRows(lines).size());
}
BENCHMARK(BM_RowsOfOneCountry)->Unit(benchmark::kMillisecond);

void BM_SortRows(benchmark::State& state) {
  const FixLines lines = fileLines();
  const ListOrder order;
  for (auto _ : state) {
    state.PauseTiming();
    CountryRows rows = largestCountryRows(lines);
    state.ResumeTiming();
    rows.sort(order);
    benchmark::DoNotOptimize(rows.size());
  }
}
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);

// The blocks of every row in list order, gathered and encoded a piece at a time as the export writes them, into a
// buffer in memory.
void BM_WaypointBlocks(benchmark::State& state) {
  const CountryRows country(fileLines(), sample().generated.largestCode, u"WPT", ListOrder());
  const std::vector<bool> all(static_cast<std::size_t>(country.size()), true);
  for (auto _ : state) benchmark::DoNotOptimize(GpxDocument().bytes({{&country, &all}}).constData());
}
BENCHMARK(BM_WaypointBlocks)->Unit(benchmark::kMillisecond);

void BM_WholeExport(benchmark::State& state) {
  ExportRequest request;
  request.fixFile = sample().path();
  request.countries = {sample().generated.largestCode};
  request.output = QDir(sample().folder.path()).filePath(QStringLiteral("VOK.gpx"));
  for (auto _ : state)
    if (!runExport(request).ok) state.SkipWithError("the export failed");
}
BENCHMARK(BM_WholeExport)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skelvor

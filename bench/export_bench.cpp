// Where the time of skelvor-export goes, on the generated 300,000-line waypoints file with its largest country of
// 50,000 lines: reading the file, its codes in list order, building the rows, sorting them in the user's collation,
// making the waypoint blocks, and the GPX bytes and their writing; then the whole export as the program runs it.
#include "exporter.h"
#include "fixfile.h"
#include "fixgen.h"
#include "gpx.h"
#include "resultrows.h"

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

QStringList largestCountryRows(const FixLines& lines) {
  return resultRows(lines, sample().generated.largestCode, u"WPT");
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
  for (auto _ : state) benchmark::DoNotOptimize(largestCountryRows(lines).constData());
}
BENCHMARK(BM_RowsOfOneCountry)->Unit(benchmark::kMillisecond);

void BM_SortRows(benchmark::State& state) {
  const QStringList rows = largestCountryRows(fileLines());
  const ListOrder order;
  for (auto _ : state) benchmark::DoNotOptimize(order.sorted(rows).constData());
}
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);

void BM_WaypointBlocks(benchmark::State& state) {
  const QStringList rows = ListOrder().sorted(largestCountryRows(fileLines()));
  const std::vector<bool> all = exportedRows(rows, std::nullopt);
  for (auto _ : state) {
    QString body;
    appendSelectedWaypointBlocks(body, rows, all);
    benchmark::DoNotOptimize(body.constData());
  }
}
BENCHMARK(BM_WaypointBlocks)->Unit(benchmark::kMillisecond);

void BM_BytesAndWrite(benchmark::State& state) {
  const QStringList rows = ListOrder().sorted(largestCountryRows(fileLines()));
  QString body;
  appendSelectedWaypointBlocks(body, rows, exportedRows(rows, std::nullopt));
  const QString output = QDir(sample().folder.path()).filePath(QStringLiteral("phases.gpx"));
  for (auto _ : state)
    if (!writeFileAtomically(output, gpxFileBytes(gpxDeclaration() + gpxOpeningTag(), body, gpxClosingTag())).ok)
      state.SkipWithError("the GPX file was not written");
}
BENCHMARK(BM_BytesAndWrite)->Unit(benchmark::kMillisecond);

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

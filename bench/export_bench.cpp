// Where the time of skelvor-export goes, on the generated 300,000-line waypoints file with its largest country of
// 50,000 lines: reading the file a run of lines at a time, building the rows, sorting them in the user's collation,
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

// The lines of the largest country, as the exporter keeps them while it reads.
QStringList largestCountryLines() {
  QStringList kept;
  visitFixLines(readFixBytes(sample().path()).bytes, [&](const QStringList& lines) {
    for (const QString& line : lines)
      if (detail::countryField(line) == sample().generated.largestCode) kept.append(line);
  });
  return kept;
}

void BM_ReadKeepingOneCountry(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(largestCountryLines().constData());
}
BENCHMARK(BM_ReadKeepingOneCountry)->Unit(benchmark::kMillisecond);

void BM_RowsOfOneCountry(benchmark::State& state) {
  const QStringList lines = largestCountryLines();
  for (auto _ : state) benchmark::DoNotOptimize(resultRows(lines, sample().generated.largestCode, u"WPT").constData());
}
BENCHMARK(BM_RowsOfOneCountry)->Unit(benchmark::kMillisecond);

void BM_SortRows(benchmark::State& state) {
  const QStringList rows = resultRows(largestCountryLines(), sample().generated.largestCode, u"WPT");
  const ListOrder order;
  for (auto _ : state) benchmark::DoNotOptimize(order.sorted(rows).constData());
}
BENCHMARK(BM_SortRows)->Unit(benchmark::kMillisecond);

void BM_WaypointBlocks(benchmark::State& state) {
  const QStringList rows = resultRows(largestCountryLines(), sample().generated.largestCode, u"WPT");
  const RowRanges all = exportedRanges(rows, std::nullopt);
  for (auto _ : state) {
    QString body;
    appendRowBlocks(body, rows, all);
    benchmark::DoNotOptimize(body.constData());
  }
}
BENCHMARK(BM_WaypointBlocks)->Unit(benchmark::kMillisecond);

void BM_BytesAndWrite(benchmark::State& state) {
  const QStringList rows = resultRows(largestCountryLines(), sample().generated.largestCode, u"WPT");
  QString body;
  appendRowBlocks(body, rows, exportedRanges(rows, std::nullopt));
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

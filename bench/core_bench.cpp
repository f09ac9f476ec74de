#include "countryrows.h"
#include "fixfile.h"
#include "fixgen.h"
#include "listorder.h"

#include <benchmark/benchmark.h>

namespace skelvor {
namespace {

// The generated file of the default shape, built once for every benchmark.
const GeneratedFixFile& sampleFile() {
  static const GeneratedFixFile file = generateWaypointFile();
  return file;
}

// A copy of the sample in which one byte is not UTF-8, so that the whole file is read as Windows-1252.
const QByteArray& windows1252Sample() {
  static const QByteArray bytes = [] {
    QByteArray copy = sampleFile().bytes;
    copy[copy.size() / 2] = '\xE9';
    return copy;
  }();
  return bytes;
}

void setBytesProcessed(benchmark::State& state, qsizetype bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}

void BM_DecodeUtf8(benchmark::State& state) {
  const QByteArray& bytes = sampleFile().bytes;
  for (auto _ : state) benchmark::DoNotOptimize(decodeFixText(bytes).constData());
  setBytesProcessed(state, bytes.size());
}
BENCHMARK(BM_DecodeUtf8)->Unit(benchmark::kMillisecond);

void BM_DecodeWindows1252(benchmark::State& state) {
  const QByteArray& bytes = windows1252Sample();
  for (auto _ : state) benchmark::DoNotOptimize(decodeFixText(bytes).constData());
  setBytesProcessed(state, bytes.size());
}
BENCHMARK(BM_DecodeWindows1252)->Unit(benchmark::kMillisecond);

// What a click on a file costs in the window after the read: the lines kept as the file's bytes, and the codes.
void BM_FixLinesAndCodes(benchmark::State& state) {
  const QByteArray& bytes = sampleFile().bytes;
  qsizetype codeCount = 0;
  for (auto _ : state) {
    const FixLines lines(bytes);
    const QStringList codes = collectCodes(lines);
    codeCount = codes.size();
    benchmark::DoNotOptimize(codes.constData());
  }
  if (codeCount != 150) state.SkipWithError("the sample file does not hold 150 countries");
  setBytesProcessed(state, bytes.size());
}
BENCHMARK(BM_FixLinesAndCodes)->Unit(benchmark::kMillisecond);

// What picking the largest country costs: its rows out of every line of the file, in file order, then in list order.
void BM_CountryRowsLargestCountry(benchmark::State& state) {
  const FixLines lines(sampleFile().bytes);
  qsizetype rowCount = 0;
  for (auto _ : state) {
    const CountryRows rows(lines, sampleFile().largestCode, u"WPT");
    rowCount = rows.size();
    benchmark::DoNotOptimize(rows.size());
  }
  if (rowCount != 50'000) state.SkipWithError("the largest country does not hold 50,000 lines");
}
BENCHMARK(BM_CountryRowsLargestCountry)->Unit(benchmark::kMillisecond);

// Ordering the rows of the largest country as the lists order them, in this run's locale.
void BM_SortRowsLargestCountry(benchmark::State& state) {
  const FixLines lines(sampleFile().bytes);
  const ListOrder order;
  for (auto _ : state) {
    state.PauseTiming();
    CountryRows rows(lines, sampleFile().largestCode, u"WPT");
    state.ResumeTiming();
    rows.sort(order);
    benchmark::DoNotOptimize(rows.size());
  }
}
BENCHMARK(BM_SortRowsLargestCountry)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skelvor

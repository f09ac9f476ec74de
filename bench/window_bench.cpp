// What the user waits for in the window, on a generated waypoints file of 300,000 lines: the click on the file, the
// pick of its largest country, Find, Select All, Select within range and the export of every row of that country.
#include "benchlocale.h"
#include "countryrows.h"
#include "filelist.h"
#include "fixgen.h"
#include "forvok.h"
#include "rowsinrange.h"
#include "sortedlist.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace skelvor {
namespace {

constexpr char kFileName[] = "Bench Waypoints.csv";

// One window over a program folder that holds the generated file, built once for all benchmarks.
struct Bench {
  Bench() {
    QFile file(folder.filePath(QLatin1String(kFileName)));
    if (!file.open(QIODevice::WriteOnly) || file.write(generated.bytes) != generated.bytes.size()) std::abort();
    file.close();
    window = std::make_unique<ForVOK>(folder.path());
    window->show();
    QCoreApplication::processEvents();
  }
  template <typename T>
  T* control(const char* name) const {
    return window->findChild<T*>(QLatin1String(name));
  }
  // Makes the generated file current in the file list, as a click on it does.
  void clickFile() const {
    auto* files = control<FileList>("File1");
    files->selectionModel()->setCurrentIndex({}, QItemSelectionModel::Clear);
    files->selectionModel()->setCurrentIndex(files->model()->index(0, 0), QItemSelectionModel::ClearAndSelect);
  }
  void pickLargest() const { control<SortedList>("ListPAYS")->SetText(generated.largestCode); }

  GeneratedFixFile generated = generateWaypointFile();
  QTemporaryDir folder;
  std::unique_ptr<ForVOK> window;
};

// Made on first use and dropped before the application object goes, as every window must be.
std::unique_ptr<Bench> benchInstance;

Bench& bench() {
  if (!benchInstance) benchInstance = std::make_unique<Bench>();
  return *benchInstance;
}

// What the click on the file is measured against: reading the same file into memory and counting its lines.
void BM_ReadFileAndCountLines(benchmark::State& state) {
  const QString path = QDir(bench().folder.path()).filePath(QLatin1String(kFileName));
  qsizetype lines = 0;
  for (auto _ : state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("cannot read the generated file");
    const QByteArray bytes = file.readAll();
    lines = std::count(bytes.begin(), bytes.end(), '\n');
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_ReadFileAndCountLines)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ClickFile(benchmark::State& state) {
  for (auto _ : state) {
    bench().clickFile();
    QCoreApplication::processEvents();
  }
  state.counters["codes"] = static_cast<double>(bench().control<SortedList>("ListPAYS")->ListCount());
}
BENCHMARK(BM_ClickFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_PickLargestCountry(benchmark::State& state) {
  bench().clickFile();
  auto* const codes = bench().control<SortedList>("ListPAYS");
  // Another country is picked before each pick, outside the time: the country shown, picked again, keeps its rows.
  const qsizetype other = codes->List(0) == bench().generated.largestCode ? 1 : 0;
  for (auto _ : state) {
    state.PauseTiming();
    codes->SetListIndex(other);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    bench().pickLargest();
    QCoreApplication::processEvents();
  }
  state.counters["rows"] = static_cast<double>(bench().control<SortedList>("ListResult")->ListCount());
}
BENCHMARK(BM_PickLargestCountry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The share of the pick that goes to ordering the rows in the list's collation.
void BM_SortRowsOfLargestCountry(benchmark::State& state) {
  const FixLines lines(bench().generated.bytes);
  const ListOrder order;
  for (auto _ : state) {
    state.PauseTiming();
    CountryRows rows(lines, bench().generated.largestCode, u"WPT");
    state.ResumeTiming();
    rows.sort(order);
  }
}
BENCHMARK(BM_SortRowsOfLargestCountry)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Find(benchmark::State& state) {
  bench().clickFile();
  bench().pickLargest();
  bench().control<QLineEdit>("Text1")->setText(QStringLiteral("a"));
  for (auto _ : state) bench().control<QPushButton>("Command1")->click();
}
BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SelectAll(benchmark::State& state) {
  bench().clickFile();
  bench().pickLargest();
  for (auto _ : state) bench().control<QPushButton>("Command2")->click();
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond)->UseRealTime();

// Select within range, once the dialog is accepted: the rows within 250 nm of the first row's fix, tested from their
// lines and selected in one step, as the menu's item selects them, from no selection.
void BM_SelectWithinRange(benchmark::State& state) {
  bench().clickFile();
  bench().pickLargest();
  auto* const list = bench().control<SortedList>("ListResult");
  const FixRow first = list->Rows().row(0);
  const Range range(*plainPoint(first.latitude, first.longitude), 250 * kNauticalMileKm);
  qsizetype selected = 0;
  for (auto _ : state) {
    state.PauseTiming();
    list->SetSelectedRanges({});
    state.ResumeTiming();
    const Matches found = placesInRange(list->Rows(), range);
    list->hide();
    list->SetSelectedRanges(found.ranges);
    list->show();
    selected = found.count;
  }
  state.counters["selected"] = static_cast<double>(selected);
}
BENCHMARK(BM_SelectWithinRange)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ExportAll(benchmark::State& state) {
  bench().clickFile();
  bench().pickLargest();
  bench().control<QPushButton>("Command2")->click();
  for (auto _ : state) bench().control<QPushButton>("Command5")->click();
  QFile written(QDir(bench().folder.path()).filePath(QStringLiteral("VOK.gpx")));
  state.counters["bytes"] = static_cast<double>(written.size());
}
BENCHMARK(BM_ExportAll)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

void dropBench() { benchInstance.reset(); }

}  // namespace skelvor

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  skelvor::reportLocale();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  skelvor::dropBench();
  return 0;
}

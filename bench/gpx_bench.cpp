#include "gpx.h"
#include "selection.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <vector>

// Find and the GPX export over a long result list: 50,000 rows of about 30 visible characters, the 120 spaces and
// the coordinates, laid out as the row builder lays them out.
namespace skelvor {
namespace {

constexpr qsizetype kRows = 50000;

// With `accented`, every identifier starts with a letter from À to Ú and the place name holds a ç, so both Find and
// the UTF-8 encoding leave their ASCII paths.
QStringList makeRows(bool accented) {
  QStringList rows;
  rows.reserve(kRows);
  for (qsizetype i = 0; i < kRows; ++i) {
    const QChar initial(static_cast<char16_t>((accented ? u'\u00C0' : u'A') + i % 26));
    const QString identifier = QString(initial) + QString::number(i).rightJustified(5, u'0');
    const QString place = accented ? QStringLiteral("Besançon-Thise") : QStringLiteral("Besancon-Thise");
    const QString visible = identifier + QStringLiteral(" (LF) ") + place + QStringLiteral(" 114.60 VOR");
    rows.append(visible + QString(120, u' ') + u'|' +
                QString::number(40.0 + static_cast<double>(i % 1000) / 997, 'f', 6) + u'|' +
                QString::number(-5.0 + static_cast<double>(i % 777) / 101, 'f', 6));
  }
  return rows;
}

void findAmong(benchmark::State& state, bool accented, const QString& search) {
  const QStringList rows = makeRows(accented);
  qsizetype count = 0;
  for (auto _ : state) {
    const Matches matches = findRows(rows, search);
    count = matches.count;
    benchmark::DoNotOptimize(matches);
  }
  state.counters["matches"] = static_cast<double>(count);
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_FindRows_FewMatches(benchmark::State& state) { findAmong(state, false, QStringLiteral("b001")); }
void BM_FindRows_NoMatch(benchmark::State& state) { findAmong(state, false, QStringLiteral("zzz")); }
void BM_FindRows_EveryRow(benchmark::State& state) { findAmong(state, false, QStringLiteral(" ")); }
void BM_FindRows_AccentedRows(benchmark::State& state) { findAmong(state, true, QStringLiteral("á001")); }

// The whole export after the selection: one block per row into the body, then the file's bytes.
void BM_ExportAllRows(benchmark::State& state) {
  const QStringList rows = makeRows(state.range(0) != 0);
  const QString head = gpxDeclaration() + gpxOpeningTag();
  const QString foot = gpxClosingTag();
  const std::vector<bool> selected(static_cast<std::size_t>(rows.size()), true);
  qsizetype size = 0;
  for (auto _ : state) {
    QString body;
    appendSelectedWaypointBlocks(body, rows, selected);
    const QByteArray bytes = gpxFileBytes(head, body, foot);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.constData());
  }
  state.counters["bytes"] = static_cast<double>(size);
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_FindRows_FewMatches)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRows_NoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRows_EveryRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindRows_AccentedRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportAllRows)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace skelvor

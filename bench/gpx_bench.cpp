#include "countryrows.h"
#include "gpxdocument.h"

#include <QStringList>

#include <benchmark/benchmark.h>

#include <vector>

// Find and the GPX export over a long result list: the 50,000 rows of one country, of about 30 visible characters
// and their coordinates, in list order.
namespace skelvor {
namespace {

constexpr qsizetype kRows = 50000;

// With `accented`, every identifier starts with a letter from À to Ú and the place name holds a ç, so both Find and
// the UTF-8 encoding leave their ASCII paths.
CountryRows makeRows(bool accented) {
  QString lines;
  for (qsizetype i = 0; i < kRows; ++i) {
    const QChar initial(static_cast<char16_t>((accented ? u'\u00C0' : u'A') + i % 26));
    const QString identifier = QString(initial) + QString::number(i).rightJustified(5, u'0');
    const QString place = accented ? QStringLiteral("Besançon-Thise") : QStringLiteral("Besancon-Thise");
    const QString visible = identifier + QStringLiteral(" (LF) ") + place + QStringLiteral(" 114.60 VOR");
    lines += visible + QStringLiteral(";LF;") + QString::number(40.0 + static_cast<double>(i % 1000) / 997, 'f', 6) +
             u';' + QString::number(-5.0 + static_cast<double>(i % 777) / 101, 'f', 6) + u'\n';
  }
  return CountryRows(FixLines(lines.toUtf8()), u"LF", u"WPT", ListOrder());
}

void findAmong(benchmark::State& state, bool accented, const QString& search) {
  const CountryRows rows = makeRows(accented);
  qsizetype count = 0;
  for (auto _ : state) {
    const Matches matches = rows.find(search);
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
  const CountryRows rows = makeRows(state.range(0) != 0);
  const std::vector<bool> selected(static_cast<std::size_t>(rows.size()), true);
  qsizetype size = 0;
  for (auto _ : state) {
    GpxDocument document;
    document.append(rows, selected);
    const QByteArray bytes = document.bytes();
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

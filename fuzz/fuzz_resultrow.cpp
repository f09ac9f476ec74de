// Fuzz target: arbitrary bytes as one fix line, read into a country's row of each kind. The row's waypoint must be what
// splitting the row's whole text gives: the coordinates the last two pieces between bars, the name the text before the
// first space.
#include "countryrows.h"
#include "fuzzcheck.h"
#include "rowformat.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Name, latitude and longitude of a row's whole text, split from its end at its last two bars.
struct Split {
  QString name, latitude, longitude;
};
Split splitRow(const QString& row) {
  const qsizetype lastBar = row.lastIndexOf(u'|');
  const qsizetype barBefore = row.lastIndexOf(u'|', lastBar - 1);
  const QString readable = row.first(barBefore);
  return {readable.first(readable.contains(u' ') ? readable.indexOf(u' ') : readable.size()),
          row.sliced(barBefore + 1, lastBar - barBefore - 1), row.sliced(lastBar + 1)};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QByteArray line(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (line.contains('\r') || line.contains('\n')) return 0;  // one line only
  // An empty first line keeps a leading byte-order mark in the line.
  const FixLines lines(QByteArray("\n") + line);
  const QList<QByteArray> columns = line.split(';');
  QString code;
  if (columns.size() > 1) lines.decode(columns[1], code);
  struct Kind {
    const char* tag;
    qsizetype columns, latitude, longitude;
  };
  for (const Kind kind : {Kind{"NAV", 10, 4, 5}, Kind{"WPT", 4, 2, 3}, Kind{"APT", 9, 4, 5}}) {
    const QString tag = QString::fromLatin1(kind.tag);
    const CountryRows rows(lines, code, tag);
    check(rows.size() <= 1 && CountryRows::count(lines, code, tag) == rows.size());
    const bool wanted = columns.size() >= kind.columns && (tag != u"APT" || columns[2] == "A");
    check(rows.size() == (wanted ? 1 : 0));
    if (!wanted) continue;
    const QString row = rows.item(0);
    check(row.contains(QString(120, u' ') + u'|'));
    const FixRow fields = rows.row(0);
    check(fields.latitude == columns[kind.latitude] && fields.longitude == columns[kind.longitude]);
    const Split split = splitRow(row);
    QString name, latitude, longitude;
    const WaypointText waypoint = rows.waypoint(0);
    lines.decode(waypoint.name, name);
    lines.decode(waypoint.latitude, latitude);
    lines.decode(waypoint.longitude, longitude);
    check(name == split.name && latitude == split.latitude && longitude == split.longitude);
  }
  return 0;
}

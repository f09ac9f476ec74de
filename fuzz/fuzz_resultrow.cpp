// Fuzz target: arbitrary columns as one fix line, built into a country's row of each kind and taken back apart the way
// the export takes rows apart, from the whole row and from the compact one.
#include "countryrows.h"
#include "fixfile.h"
#include "fixreference.h"
#include "fuzzcheck.h"
#include "gpx.h"
#include "gpxreference.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  if (line.contains(u'\r') || line.contains(u'\n')) return 0;  // one line only
  const QStringList columns = line.split(u';');
  const QStringView code = detail::countryField(line).value_or(QStringView());
  // An empty first line keeps a leading byte-order mark in the line.
  const FixLines lines(QByteArray("\n") + line.toUtf8());
  struct Kind {
    const char* tag;
    qsizetype columns, latitude, longitude;
  };
  for (const Kind kind : {Kind{kNavaids, 10, 4, 5}, Kind{kWaypoints, 4, 2, 3}, Kind{kAirports, 9, 4, 5}}) {
    const QString tag = QString::fromLatin1(kind.tag);
    const CountryRows rows(lines, code, tag);
    check(rows.size() <= 1 && CountryRows::count(lines, code, tag) == rows.size());
    const std::optional<QString> row = rows.isEmpty() ? std::nullopt : std::optional<QString>(rows.item(0));
    const bool wanted = columns.size() >= kind.columns && (tag != QLatin1String(kAirports) || columns[2] == u"A");
    check(row.has_value() == wanted);
    if (!row) continue;
    check(row->contains(QString(120, u' ') + u'|'));
    // The coordinates come back as the line holds them, whatever the readable text holds.
    const QString& latitude = columns[kind.latitude];
    const QString& longitude = columns[kind.longitude];
    if (latitude.contains(u'|') || longitude.contains(u'|')) continue;
    const std::optional<WaypointFields> fields = waypointFields(*row);
    check(fields.has_value());
    check(fields->latitude == latitude && fields->longitude == longitude);
    check(!fields->name.contains(u' '));
    CountryRows::Room room;
    const std::optional<WaypointFields> compact = waypointFields(rows.compact(0, room));
    check(compact && compact->name == fields->name && compact->latitude == latitude && compact->longitude == longitude);
  }
  return 0;
}

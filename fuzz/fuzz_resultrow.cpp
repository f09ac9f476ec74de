// Fuzz target: arbitrary columns as one fix line, built into a result row of each kind and taken back apart the way
// the export takes rows apart.
#include "fixfile.h"
#include "fuzzcheck.h"
#include "gpx.h"
#include "resultrows.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace skelvor;
  using fuzz::check;
  const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QStringList columns = line.split(u';');
  struct Kind {
    const char* tag;
    qsizetype columns, latitude, longitude;
  };
  for (const Kind kind : {Kind{kNavaids, 10, 4, 5}, Kind{kWaypoints, 4, 2, 3}, Kind{kAirports, 9, 4, 5}}) {
    const QString tag = QString::fromLatin1(kind.tag);
    const std::optional<QString> row = resultRow(line, tag);
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
    // A row of this line's code is among the rows of that code, in the one line's file.
    if (const auto code = detail::countryField(line)) check(resultRows({line}, *code, tag) == QStringList{*row});
  }
  return 0;
}

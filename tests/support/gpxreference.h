#pragma once

// The bytes of a whole GPX file from its three parts, built in one piece: what the document's writing, a piece at a
// time, is checked against.
#include "gpx.h"

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringView>

#include <optional>

namespace skelvor {

/// What a result row gives a waypoint, copied out of the row.
struct WaypointFields {
  QString name;
  QString latitude;
  QString longitude;
};

/// The waypoint fields of a result row, as waypointFieldViews finds them.
inline std::optional<WaypointFields> waypointFields(QStringView row) {
  const std::optional<WaypointFieldViews> views = waypointFieldViews(row);
  if (!views) return std::nullopt;
  return WaypointFields{views->name.toString(), views->latitude.toString(), views->longitude.toString()};
}

inline void appendWaypointBlock(QString& body, const WaypointFields& waypoint) {
  appendWaypointBlock(body, WaypointFieldViews{waypoint.name, waypoint.latitude, waypoint.longitude});
}

/// One waypoint block, as the GPX body gathers it.
inline QString waypointBlock(const WaypointFields& waypoint) {
  QString block;
  appendWaypointBlock(block, waypoint);
  return block;
}

/// Appends the waypoint block of a result row to `body`; false, and nothing appended, when the row gives none.
inline bool appendRowWaypointBlock(QString& body, QStringView row) {
  const std::optional<WaypointFieldViews> waypoint = waypointFieldViews(row);
  if (waypoint) appendWaypointBlock(body, *waypoint);
  return waypoint.has_value();
}

/// The bytes of a GPX file: head, body and foot, then CR LF, in UTF-8 without a byte-order mark.
inline QByteArray gpxFileBytes(const QString& head, const QString& body, const QString& foot) {
  QStringEncoder utf8(QStringEncoder::Utf8);
  QByteArray bytes(utf8.requiredSpace(head.size() + body.size() + foot.size() + gpxFileEnd().size()),
                   Qt::Uninitialized);
  char* end = bytes.data();
  for (const QStringView part : {QStringView(head), QStringView(body), QStringView(foot), gpxFileEnd()})
    end = utf8.appendToBuffer(end, part);
  bytes.truncate(end - bytes.data());
  return bytes;
}

}  // namespace skelvor

#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringEncoder>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

namespace skelvor {

/// The XML declaration line of every GPX file, ending with CR LF.
QString gpxDeclaration();

/// The opening gpx tag with its creator, version, namespace and schema location attributes, without a line end.
QString gpxOpeningTag();

/// The closing gpx tag, without a line end.
QString gpxClosingTag();

/// What follows the closing tag at the end of the file: CR LF.
QStringView gpxFileEnd();

/// What a result row gives a waypoint: its name and its coordinates as text.
struct WaypointFields {
  QString name;
  QString latitude;
  QString longitude;
};

/// The waypoint fields of a result row: latitude and longitude are the last two "|"-separated pieces, the name is the
/// text before the first space of what stands before them. Nothing when the row holds fewer than two "|".
std::optional<WaypointFields> waypointFields(QStringView row);

/// The same fields as views into the row, without copying them.
struct WaypointFieldViews {
  QStringView name;
  QStringView latitude;
  QStringView longitude;
};
std::optional<WaypointFieldViews> waypointFieldViews(QStringView row);

/// `text` with & < > and " written as entities, tab, line feed and carriage return as character references, and the
/// characters that XML 1.0 forbids left out.
QString xmlEscaped(QStringView text);

/// One waypoint block as the GPX body gathers it: CR LF, the wpt tag, CR LF, the name, CR LF, the closing tag.
QString waypointBlock(const WaypointFields& waypoint);

/// Appends the waypoint block of `waypoint` to `body`, as `body += waypointBlock(waypoint)` does, without the
/// intermediate string.
void appendWaypointBlock(QString& body, const WaypointFields& waypoint);
void appendWaypointBlock(QString& body, const WaypointFieldViews& waypoint);

/// Appends the waypoint block of a result row to `body`, as appendWaypointBlock of its waypointFields does, without
/// copying the fields first. False, and nothing appended, when the row gives no waypoint.
bool appendRowWaypointBlock(QString& body, QStringView row);

/// The bytes of a GPX file: head, body and foot, then CR LF, in UTF-8 without a byte-order mark.
QByteArray gpxFileBytes(const QString& head, const QString& body, const QString& foot);

/// Writes text to a device in UTF-8, a piece at a time: the pieces together give the bytes that encoding their whole
/// text at once gives, as gpxFileBytes does.
class Utf8Writer {
 public:
  explicit Utf8Writer(QIODevice& device);
  /// False when the device did not take all the bytes.
  bool write(QStringView text);

 private:
  QIODevice& device_;
  QStringEncoder encoder_;
  QByteArray bytes_;  // room reused from piece to piece
};

}  // namespace skelvor

#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace skelvor {

/// The mean radius of the Earth (IUGG), in kilometres: distances are measured on a sphere of this radius.
inline constexpr double kEarthRadiusKm = 6371.0088;
/// The international nautical mile, in kilometres.
inline constexpr double kNauticalMileKm = 1.852;

/// A place on the Earth in decimal degrees, north and east positive.
struct GeoPoint {
  double latitude = 0;
  double longitude = 0;
};

/// The great-circle distance between `a` and `b` in kilometres: the haversine formula, in double precision.
double greatCircleKm(GeoPoint a, GeoPoint b);

/// The value of `text` when it is a plain decimal number of at most `limit` in size: an optional sign, then digits
/// with at most one decimal point among or around them, and nothing else (no space, exponent or other character);
/// nothing otherwise.
std::optional<double> plainDecimal(QByteArrayView text, double limit);

/// The place that a fix's latitude and longitude texts give when both are plain decimal degrees in range (-90 to 90,
/// -180 to 180); nothing otherwise, and a range cannot place the fix.
std::optional<GeoPoint> plainPoint(QByteArrayView latitude, QByteArrayView longitude);

/// The fixes at most a distance from a point, which a fix's coordinate texts place within it or not.
class Range {
 public:
  Range(GeoPoint centre, double km);

  enum class Place { In, Out, Unknown };
  /// Where the fix with these latitude and longitude texts lies: In when greatCircleKm from the centre is at most the
  /// distance; Unknown when either text is not plain decimal degrees in range (-90 to 90, -180 to 180).
  Place of(QByteArrayView latitude, QByteArrayView longitude) const;

 private:
  GeoPoint centre_;
  double km_;
  double cosLatitude_;  // of the centre
};

/// The point of a --near argument, "LAT,LON" in decimal degrees; nothing, and the fault in `error`, otherwise.
std::optional<GeoPoint> parsePoint(QStringView text, QString& error);

/// The distance of a --within argument, a positive number followed by its unit, km or nm, in kilometres; nothing, and
/// the fault in `error`, otherwise.
std::optional<double> parseDistance(QStringView text, QString& error);

}  // namespace skelvor

#include "nearby.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

namespace skelvor {

namespace {

constexpr double kRadians = std::numbers::pi / 180;

// The haversine distance in kilometres from `a`, whose latitude's cosine is `cosA`, to `b`. The cosine is given so
// that a range works it out once and still finds, bit for bit, the distance greatCircleKm finds.
double haversineKm(GeoPoint a, double cosA, GeoPoint b) {
  const double sinHalfLatitude = std::sin((b.latitude - a.latitude) * kRadians / 2);
  const double sinHalfLongitude = std::sin((b.longitude - a.longitude) * kRadians / 2);
  const double h =
      sinHalfLatitude * sinHalfLatitude + cosA * std::cos(b.latitude * kRadians) * sinHalfLongitude * sinHalfLongitude;
  // Rounding can take h a hair above 1 for points on opposite sides of the Earth.
  return 2 * kEarthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

// The value of an argument's `text` that is a plain decimal number, spaces around it left out.
std::optional<double> decimalArgument(QStringView text) {
  const QByteArray latin1 = text.trimmed().toLatin1();  // a character beyond Latin-1 becomes "?", which no number has
  return plainDecimal(latin1, std::numeric_limits<double>::max());
}

}  // namespace

double greatCircleKm(GeoPoint a, GeoPoint b) { return haversineKm(a, std::cos(a.latitude * kRadians), b); }

std::optional<double> plainDecimal(QByteArrayView text, double limit) {
  const char* begin = text.data();
  const char* const end = begin + text.size();
  const bool negative = begin != end && *begin == '-';
  if (begin != end && (*begin == '-' || *begin == '+')) ++begin;
  // from_chars would take "inf", "nan" and a leading space or sign of its own: only digits and one point pass to it.
  int points = 0;
  bool digits = false;
  for (const char* p = begin; p != end; ++p) {
    if (*p == '.')
      ++points;
    else if (*p >= '0' && *p <= '9')
      digits = true;
    else
      return std::nullopt;
  }
  if (!digits || points > 1) return std::nullopt;
  double value = 0;
  const auto [stop, fault] = std::from_chars(begin, end, value, std::chars_format::fixed);
  if (fault != std::errc() || stop != end || value > limit) return std::nullopt;
  return negative ? -value : value;
}

std::optional<GeoPoint> plainPoint(QByteArrayView latitude, QByteArrayView longitude) {
  const std::optional<double> north = plainDecimal(latitude, 90);
  const std::optional<double> east = plainDecimal(longitude, 180);
  if (!north || !east) return std::nullopt;
  return GeoPoint{*north, *east};
}

Range::Range(GeoPoint centre, double km)
    : centre_(centre), km_(km), cosLatitude_(std::cos(centre.latitude * kRadians)) {}

Range::Place Range::of(QByteArrayView latitude, QByteArrayView longitude) const {
  const std::optional<GeoPoint> fix = plainPoint(latitude, longitude);
  if (!fix) return Place::Unknown;
  return haversineKm(centre_, cosLatitude_, *fix) <= km_ ? Place::In : Place::Out;
}

std::optional<GeoPoint> parsePoint(QStringView text, QString& error) {
  const qsizetype comma = text.indexOf(u',');
  const std::optional<double> latitude = comma < 0 ? std::nullopt : decimalArgument(text.first(comma));
  const std::optional<double> longitude = comma < 0 ? std::nullopt : decimalArgument(text.sliced(comma + 1));
  if (!latitude || !longitude) {
    error = QStringLiteral("give the point as LAT,LON in decimal degrees, for example 50.63,3.07");
    return std::nullopt;
  }
  if (std::abs(*latitude) > 90) {
    error = QStringLiteral("the latitude %1 lies outside -90 to 90").arg(text.first(comma).trimmed());
    return std::nullopt;
  }
  if (std::abs(*longitude) > 180) {
    error = QStringLiteral("the longitude %1 lies outside -180 to 180").arg(text.sliced(comma + 1).trimmed());
    return std::nullopt;
  }
  return GeoPoint{*latitude, *longitude};
}

std::optional<double> parseDistance(QStringView text, QString& error) {
  const QStringView trimmed = text.trimmed();
  qsizetype numberSize = 0;
  while (numberSize < trimmed.size() && QStringView(u"0123456789.+-").contains(trimmed[numberSize])) ++numberSize;
  const std::optional<double> number = decimalArgument(trimmed.first(numberSize));
  const QStringView unit = trimmed.sliced(numberSize).trimmed();
  if (!number || *number <= 0) {
    error = QStringLiteral("the distance must be a positive number, for example 250nm");
    return std::nullopt;
  }
  if (unit.compare(u"km", Qt::CaseInsensitive) == 0) return *number;
  if (unit.compare(u"nm", Qt::CaseInsensitive) == 0) return *number * kNauticalMileKm;
  error = unit.isEmpty() ? QStringLiteral("give the distance with its unit, km or nm, for example 250nm")
                         : QStringLiteral("the unit \"%1\" is neither km nor nm").arg(unit);
  return std::nullopt;
}

}  // namespace skelvor

#include "nearestpoint.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace skelvor {

namespace {

constexpr double kRadians = std::numbers::pi / 180.0;

// The square of the straight-line distance between two points of the unit sphere, which grows with the great-circle
// distance between them.
double chordSquared(double x1, double y1, double z1, double x2, double y2, double z2) {
  return (x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2) + (z1 - z2) * (z1 - z2);
}

// The smallest chord squared between two points whose latitudes differ by `difference` radians: no two points are
// nearer than their difference in latitude.
double leastChordSquared(double difference) {
  const double half = std::sin(std::min(std::abs(difference), std::numbers::pi) / 2.0);
  return 4.0 * half * half;
}

}  // namespace

void NearestPoint::add(double latitude, double longitude, qsizetype tag) {
  const double phi = latitude * kRadians;
  const double lambda = longitude * kRadians;
  points_.append({phi, std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi), tag});
  sorted_ = false;
}

void NearestPoint::sort() const {
  if (sorted_) return;
  std::stable_sort(points_.begin(), points_.end(),
                   [](const Point& a, const Point& b) { return a.latitude < b.latitude; });
  sorted_ = true;
}

// Walks outwards from the place's latitude, one point at a time on the side whose next point is closer in latitude,
// and stops when even that closeness in latitude alone is farther than the best point found.
qsizetype NearestPoint::nearest(double latitude, double longitude) const {
  if (points_.isEmpty()) return -1;
  sort();
  const double phi = latitude * kRadians;
  const double lambda = longitude * kRadians;
  const double x = std::cos(phi) * std::cos(lambda);
  const double y = std::cos(phi) * std::sin(lambda);
  const double z = std::sin(phi);
  const auto start = std::lower_bound(points_.cbegin(), points_.cend(), phi,
                                      [](const Point& p, double value) { return p.latitude < value; });
  qsizetype up = start - points_.cbegin();  // next point northwards
  qsizetype down = up - 1;                  // next point southwards
  double best = 5.0;                        // more than any chord squared, which is at most 4
  qsizetype bestTag = -1;
  while (up < points_.size() || down >= 0) {
    const double upGap = up < points_.size() ? points_[up].latitude - phi : 1e9;
    const double downGap = down >= 0 ? phi - points_[down].latitude : 1e9;
    const bool goUp = upGap <= downGap;
    if (leastChordSquared(goUp ? upGap : downGap) > best) break;
    const Point& p = points_[goUp ? up++ : down--];
    const double d = chordSquared(x, y, z, p.x, p.y, p.z);
    if (d < best || (d == best && p.tag < bestTag)) {
      best = d;
      bestTag = p.tag;
    }
  }
  return bestTag;
}

}  // namespace skelvor

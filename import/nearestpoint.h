#pragma once

#include <QList>

namespace skelvor {

/// A set of points on the earth that answers which of them lies nearest to a place, by great-circle distance. The
/// points are kept in order of latitude, so a search looks only at the band of latitudes that can still hold a nearer
/// point: no pair of all points is ever compared.
class NearestPoint {
 public:
  /// Adds a point with a number of the caller's that the search gives back.
  void add(double latitude, double longitude, qsizetype tag);

  /// The tag of the point nearest to the place, the earliest added among equally near ones; -1 when the set is empty.
  qsizetype nearest(double latitude, double longitude) const;

  bool isEmpty() const { return points_.isEmpty(); }

 private:
  struct Point {
    double latitude;  // radians
    double x, y, z;   // on the unit sphere
    qsizetype tag;
  };
  void sort() const;

  mutable QList<Point> points_;
  mutable bool sorted_ = true;
};

}  // namespace skelvor

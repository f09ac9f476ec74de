#include "nearby.h"

#include "qt_printing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace skelvor {
namespace {

TEST(GreatCircle, MatchesDistancesWorkedOutApart) {
  // Worked out with Vincenty's formula for the sphere (atan2 of the cross and dot products), not the haversine.
  const struct {
    const char* what;
    GeoPoint a;
    GeoPoint b;
    double km;
  } cases[] = {
      {"Paris to London", {48.8566, 2.3522}, {51.5074, -0.1278}, 343.556534880884},
      {"New York to Los Angeles", {40.7128, -74.0060}, {34.0522, -118.2437}, 3935.751690893986},
      {"Sydney to Auckland", {-33.8688, 151.2093}, {-36.8485, 174.7633}, 2155.901303831338},
      {"across the antimeridian", {0, 179.5}, {0, -179.5}, 111.19508023353322},
      {"Fiji to Samoa", {-17.7134, 178.065}, {-13.759, -172.1046}, 1139.9842920708304},
      {"over the pole", {89.9, 0}, {89.9, 180}, 22.23901604670598},
      {"the pole to Lille", {90, 0}, {50.63, 3.07}, 4377.75030879419},
      {"the same point", {50.63, 3.07}, {50.63, 3.07}, 0},
      {"antipodes", {0, 0}, {0, 180}, 20015.114442035923},
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(greatCircleKm(c.a, c.b), c.km, 1e-6) << c.what;
    EXPECT_NEAR(greatCircleKm(c.b, c.a), c.km, 1e-6) << c.what << ", the other way";
  }
}

TEST(Range, PlacesAFixByItsCoordinateTexts) {
  const Range lille({50.63, 3.07}, 250 * kNauticalMileKm);
  const struct {
    const char* latitude;
    const char* longitude;
    Range::Place place;
  } cases[] = {
      {"51.470748", "-0.459909", Range::Place::In},   // London Heathrow, 264 km
      {"+50.026706", "8.55835", Range::Place::In},    // Frankfurt, 395 km
      {"52.2503", "9.8835", Range::Place::Out},       // Leine, 505 km
      {"43.468372", "-1.523223", Range::Place::Out},  // Biarritz, north and south of the band
      {"50.63", "183.07", Range::Place::Unknown},     // every longitude out of -180 to 180 is unusable
      {"90.5", "3", Range::Place::Unknown},
      {"51", "", Range::Place::Unknown},
      {"", "3", Range::Place::Unknown},
      {" 51", "3", Range::Place::Unknown},  // a space, a comma, an exponent or a second point is not plain
      {"51,5", "3", Range::Place::Unknown},
      {"5.1e1", "3", Range::Place::Unknown},
      {"51.5.1", "3", Range::Place::Unknown},
      {"51N", "3", Range::Place::Unknown},
      {"51.", ".5", Range::Place::In},
      {"90", "-180", Range::Place::Out},
  };
  for (const auto& c : cases) EXPECT_EQ(lille.of(c.latitude, c.longitude), c.place) << c.latitude << " " << c.longitude;
}

TEST(Range, TakesAFixExactlyAtTheDistance) {
  const GeoPoint centre{50.63, 3.07};
  // Due north and due south of the centre, a fix at the distance lies on the edge of any band of latitudes that a
  // range might first test.
  for (const GeoPoint fix : {GeoPoint{51.470748, -0.459909}, GeoPoint{50.63, 3.08}, GeoPoint{-33.9, 151.2},
                             GeoPoint{54.79, 3.07}, GeoPoint{46.47, 3.07}}) {
    const QByteArray latitude = QByteArray::number(fix.latitude, 'f', 6);
    const QByteArray longitude = QByteArray::number(fix.longitude, 'f', 6);
    const double km = greatCircleKm(centre, {latitude.toDouble(), longitude.toDouble()});
    EXPECT_EQ(Range(centre, km).of(latitude, longitude), Range::Place::In) << km;
    EXPECT_EQ(Range(centre, std::nextafter(km, 0.0)).of(latitude, longitude), Range::Place::Out) << km;
  }
}

TEST(NearArguments, ReadPointsAndDistancesOrNameTheFault) {
  const struct {
    const char* text;
    std::optional<double> latitude;
    std::optional<double> longitude;
    const char* error;
  } points[] = {
      {"50.63,3.07", 50.63, 3.07, ""},
      {"-33.9, +151.2", -33.9, 151.2, ""},
      {"90,-180", 90, -180, ""},
      {"90.01,3", {}, {}, "the latitude 90.01 lies outside -90 to 90"},
      {"10,-180.5", {}, {}, "the longitude -180.5 lies outside -180 to 180"},
      {"50.63", {}, {}, "give the point as LAT,LON in decimal degrees, for example 50.63,3.07"},
      {"50,63,3,07", {}, {}, "give the point as LAT,LON in decimal degrees, for example 50.63,3.07"},
      {"50°N,3°E", {}, {}, "give the point as LAT,LON in decimal degrees, for example 50.63,3.07"},
  };
  for (const auto& c : points) {
    QString error;
    const std::optional<GeoPoint> point = parsePoint(QString::fromUtf8(c.text), error);
    EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.text;
    EXPECT_EQ(point ? point->latitude : -999, c.latitude.value_or(-999)) << c.text;
    EXPECT_EQ(point ? point->longitude : -999, c.longitude.value_or(-999)) << c.text;
  }

  const struct {
    const char* text;
    std::optional<double> km;
    const char* error;
  } distances[] = {
      {"250nm", 463, ""},
      {"400km", 400, ""},
      {" 12.5 KM ", 12.5, ""},
      {"0.5NM", 0.926, ""},
      {"250", {}, "give the distance with its unit, km or nm, for example 250nm"},
      {"250mi", {}, "the unit \"mi\" is neither km nor nm"},
      {"0km", {}, "the distance must be a positive number, for example 250nm"},
      {"-5nm", {}, "the distance must be a positive number, for example 250nm"},
      {"nm", {}, "the distance must be a positive number, for example 250nm"},
      {"1.2.3km", {}, "the distance must be a positive number, for example 250nm"},
  };
  for (const auto& c : distances) {
    QString error;
    const std::optional<double> km = parseDistance(QString::fromUtf8(c.text), error);
    EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.text;
    EXPECT_NEAR(km.value_or(-1), c.km.value_or(-1), 1e-9) << c.text;
  }
}

}  // namespace
}  // namespace skelvor

#include "morvelstandrik/geo/position.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct PositionCase {
  const char* lat;
  const char* lon;
  double want_lat;
  double want_lon;
};

// Degrees, minutes and seconds worked out by hand.
TEST(ParsePosition, DecimalAndSexagesimal) {
  const PositionCase cases[] = {
      {"54.5", "10.25", 54.5, 10.25},
      {"-33.9", "151.3", -33.9, 151.3},
      {"54d30.5N", "010°15.2'E", 54 + 30.5 / 60, 10 + 15.2 / 60},
      {"010°15.2'E", "54d30.5N", 54 + 30.5 / 60, 10 + 15.2 / 60},
      {"41d12'36\"S", "10d15'12\"W", -(41 + 12 / 60.0 + 36 / 3600.0),
       -(10 + 15 / 60.0 + 12 / 3600.0)},
      {"90", "0", 90, 0},
      {"-90", "359", -90, -1},
      {"0", "190", 0, -170},
      {"0", "180", 0, -180},
      {"0", "-180", 0, -180},
      {" 12.5 ", "\t-7", 12.5, -7},
  };
  for (const auto& c : cases) {
    const geo::Position p = geo::parse_position(c.lat, c.lon);
    EXPECT_NEAR(p.lat, c.want_lat, 1e-12) << c.lat << " " << c.lon;
    EXPECT_NEAR(p.lon, c.want_lon, 1e-12) << c.lat << " " << c.lon;
  }
}

TEST(ParsePosition, OneTextWithCommaOrBlank) {
  const struct {
    const char* text;
    double lat, lon;
  } cases[] = {
      {"54.5,10.25", 54.5, 10.25},
      {"54.5, 10.25", 54.5, 10.25},
      {"54.5 10.25", 54.5, 10.25},
      {"54d30.5N,010d15.2E", 54 + 30.5 / 60, 10 + 15.2 / 60},
  };
  for (const auto& c : cases) {
    const geo::Position p = geo::parse_position(c.text);
    EXPECT_NEAR(p.lat, c.lat, 1e-12) << c.text;
    EXPECT_NEAR(p.lon, c.lon, 1e-12) << c.text;
  }
}

TEST(ParsePosition, RefusesWhatIsNotAPosition) {
  const char* bad[] = {"95,10",   "-90.5,0", "54.5",  "",      "abc,10",
                       "54N,10N", "10E,20W", "1,2,3", "54.5,", "nan,1"};
  for (const char* text : bad)
    EXPECT_THROW(geo::parse_position(text), geo::BadInput) << text;
}

TEST(ParseDirection, DegreesAndCompassPoints) {
  const struct {
    const char* text;
    double want;
  } cases[] = {
      {"0", 0},      {"360", 0}, {"225", 225},   {"12.5", 12.5}, {"N", 0},
      {"NNE", 22.5}, {"ne", 45}, {"E", 90},      {"SSE", 157.5}, {"S", 180},
      {"SW", 225},   {"W", 270}, {"WNW", 292.5}, {"NNW", 337.5}, {" nw ", 315},
  };
  for (const auto& c : cases)
    EXPECT_EQ(geo::parse_direction(c.text), c.want) << c.text;
}

TEST(ParseDirection, RefusesOutsideTheCircleAndUnknownPoints) {
  const char* bad[] = {"-1", "360.5", "400", "NNNE", "NbE",
                       "",   "12kt",  "inf", "nan",  "X"};
  for (const char* text : bad) {
    try {
      geo::parse_direction(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const geo::BadInput& e) {
      EXPECT_FALSE(std::string(e.what()).empty());
    }
  }
}

}  // namespace

#include "morvelstandrik/grib/steady.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr std::int64_t kHour = 3600;
constexpr double kPi = std::numbers::pi;

// A record of `kt` knots from `from` degrees, `hours` after midnight.
grib::Record rec(double hours, double kt, double from) {
  const double ms = kt * 1852.0 / 3600.0;
  const double r = from * kPi / 180;
  return {static_cast<std::int64_t>(hours * kHour), -ms * std::sin(r),
          -ms * std::cos(r)};
}

TEST(Wind, SpeedAndDirectionFromEachQuadrant) {
  struct Case {
    double u, v, kt, from;
  };
  const double k = 3600.0 / 1852.0;
  const Case cases[] = {
      {0, -10, 10 * k, 0},                  // blowing south: from the north
      {-10, 0, 10 * k, 90},                 // blowing west: from the east
      {0, 10, 10 * k, 180},                 // blowing north: from the south
      {10, 0, 10 * k, 270},                 // blowing east: from the west
      {-3, -4, 5 * k, 36.869897645844021},  // from the north-east
      {-3, 4, 5 * k, 143.13010235415598},   // from the south-east
      {3, 4, 5 * k, 216.86989764584402},    // from the south-west
      {3, -4, 5 * k, 323.13010235415598},   // from the north-west
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(grib::speed_kt(c.u, c.v), c.kt, 1e-12);
    EXPECT_NEAR(*grib::from_deg(c.u, c.v), c.from, 1e-9);
  }
  EXPECT_FALSE(grib::from_deg(0, 0).has_value());
}

TEST(Window, SteadyRule) {
  struct Case {
    const char* what;
    std::vector<grib::Record> series;
    std::size_t at;
    std::size_t first;
    double hours;
    bool at_least;
    double kt, from;  // from < 0: none
  };
  const Case cases[] = {
      {"steady back past the first record",
       {rec(0, 20, 90), rec(1, 20, 90), rec(2, 20, 90), rec(3, 20, 90)},
       3,
       0,
       3,
       true,
       20,
       90},
      {"a single record", {rec(0, 20, 90)}, 0, 0, 0, true, 20, 90},
      // Four records from 300, then 270: with 270 the mean is 294, 24
      // degrees off it; the window counts from 02:30.
      {"a veer",
       {rec(0, 20, 270), rec(1, 20, 270), rec(2, 20, 270), rec(3, 20, 300),
        rec(4, 20, 300), rec(5, 20, 300), rec(6, 20, 300)},
       6,
       3,
       3.5,
       false,
       20,
       300},
      // Around north: 350 and 10 are 20 degrees apart, each 10 from 0.
      {"around north", {rec(0, 20, 350), rec(1, 20, 10)}, 1, 0, 1, true, 20, 0},
      // 20, 20 then a gust of 30: mean 23.33, the gust 6.67 off it.
      {"a gust",
       {rec(0, 20, 270), rec(1, 30, 270), rec(2, 20, 270), rec(3, 20, 270)},
       3,
       2,
       1.5,
       false,
       20,
       270},
      // 24 kt then 20 kt: mean 22, both within 5 kt.
      {"easing within the limit",
       {rec(0, 24, 270), rec(1, 20, 270)},
       1,
       0,
       1,
       true,
       22,
       270},
      // Eight hours without records end the window at the record after.
      {"a gap",
       {rec(0, 20, 90), rec(1, 20, 90), rec(9, 20, 90), rec(10, 20, 90)},
       3,
       2,
       1,
       true,
       20,
       90},
      // A gap of exactly the limit does not end it.
      {"a gap of 6 h",
       {rec(0, 20, 90), rec(6, 20, 90), rec(7, 20, 90)},
       2,
       0,
       7,
       true,
       20,
       90},
      {"calm", {rec(0, 0, 0), rec(1, 0, 0)}, 1, 0, 1, true, 0, -1},
      // Calm, then 3 kt: the calm record has no direction to test.
      {"calm then light",
       {rec(0, 20, 90), rec(1, 0, 0), rec(2, 3, 180)},
       2,
       1,
       1.5,
       false,
       1.5,
       180},
      {"at an earlier record",
       {rec(0, 20, 90), rec(1, 20, 90), rec(2, 20, 200)},
       1,
       0,
       1,
       true,
       20,
       90},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const grib::Window w = grib::window(c.series, c.at, {});
    EXPECT_EQ(w.first, c.first);
    EXPECT_EQ(w.last, c.at);
    EXPECT_DOUBLE_EQ(w.hours, c.hours);
    EXPECT_EQ(w.at_least, c.at_least);
    EXPECT_NEAR(w.wind_kt, c.kt, 1e-9);
    if (c.from < 0) {
      EXPECT_FALSE(w.from_deg.has_value());
    } else {
      ASSERT_TRUE(w.from_deg.has_value());
      EXPECT_NEAR(std::remainder(*w.from_deg - c.from, 360.0), 0, 1e-9);
    }
  }
}

TEST(Window, TighterLimits) {
  // 20 then 24 kt: within 5 kt of their mean, not within 1 kt.
  const std::vector<grib::Record> s = {rec(0, 20, 90), rec(1, 24, 90)};
  grib::SteadyRules rules;
  EXPECT_EQ(grib::window(s, 1, rules).first, 0u);
  rules.speed_kt = 1;
  EXPECT_EQ(grib::window(s, 1, rules).first, 1u);
  // 90 then 100: within 15 degrees, not within 4 of their mean of 95.
  const std::vector<grib::Record> t = {rec(0, 20, 90), rec(1, 20, 100)};
  rules = {};
  EXPECT_EQ(grib::window(t, 1, rules).first, 0u);
  rules.direction_deg = 4;
  EXPECT_EQ(grib::window(t, 1, rules).first, 1u);
  // A gap of 3 h ends it under a limit of 2 h.
  const std::vector<grib::Record> g = {rec(0, 20, 90), rec(3, 20, 90)};
  rules = {};
  rules.max_gap_s = 2 * kHour;
  EXPECT_EQ(grib::window(g, 1, rules).first, 1u);
}

// The duration-limited height of the growth law, in closed form, and its
// inverse: for the expected values, in double, independent of the engine.
double height(double kt, double h) {
  const double hsinf = 0.0059 * kt * kt;
  const double ht1 = 0.008 * std::pow(kt, 1.44) * std::pow(h, 0.57);
  return hsinf * std::pow(std::tanh(std::pow(ht1 / hsinf, 1.7)), 1 / 1.7);
}
double hours_for(double kt, double height) {
  const double hsinf = 0.0059 * kt * kt;
  const double ht1 =
      hsinf * std::pow(std::atanh(std::pow(height / hsinf, 1.7)), 1 / 1.7);
  return std::pow(ht1 / (0.008 * std::pow(kt, 1.44)), 1 / 0.57);
}

TEST(Window, EquivalentRule) {
  grib::SteadyRules rules;
  rules.method = grib::DurationMethod::kEquivalent;
  // Steady since the first record: the steady rule's duration and wind.
  const std::vector<grib::Record> steady = {rec(0, 20, 90), rec(1, 20, 90),
                                            rec(3, 20, 90), rec(4, 20, 90)};
  const grib::Window a = grib::window(steady, 3, rules);
  const grib::Window b = grib::window(steady, 3, {});
  EXPECT_EQ(a.hours, b.hours);
  EXPECT_EQ(a.hours, 4);
  EXPECT_EQ(a.wind_kt, b.wind_kt);
  EXPECT_EQ(*a.from_deg, *b.from_deg);
  EXPECT_TRUE(a.at_least);

  // 10 kt for 3 h, then 20 kt: the sea of 3 h at 10 kt (0.39 m) is what 20
  // kt raise in 0.47 h; an hour later the equivalent duration is 1.47 h.
  const std::vector<grib::Record> rising = {rec(0, 10, 90), rec(1, 10, 90),
                                            rec(2, 10, 90), rec(3, 10, 90),
                                            rec(4, 20, 90)};
  const grib::Window r = grib::window(rising, 4, rules);
  const double want = hours_for(20, height(10, 3)) + 1;
  EXPECT_NEAR(r.hours, want, 2e-4);
  EXPECT_NEAR(want, 1.47, 0.01);
  EXPECT_NEAR(r.wind_kt, 20, 1e-9);
  EXPECT_TRUE(r.at_least);
  // The steady rule takes 03 and 04 (10 and 20 kt, each 5 kt from their
  // mean of 15) and counts from 02:30.
  EXPECT_DOUBLE_EQ(grib::window(rising, 4, {}).hours, 1.5);

  // 20 kt for 6 h, then 15 kt: the new wind could not have raised that sea
  // in less time than it has blown, so the duration is the whole 7 h.
  const std::vector<grib::Record> easing = {
      rec(0, 20, 90), rec(1, 20, 90), rec(2, 20, 90), rec(3, 20, 90),
      rec(4, 20, 90), rec(5, 20, 90), rec(6, 20, 90), rec(7, 15, 90)};
  EXPECT_NEAR(grib::window(easing, 7, rules).hours, 7, 1e-6);

  // A turn of 90 degrees starts a new sea midway between the records.
  const std::vector<grib::Record> turn = {rec(0, 20, 90), rec(1, 20, 90),
                                          rec(2, 20, 180), rec(3, 20, 180)};
  const grib::Window t = grib::window(turn, 3, rules);
  EXPECT_EQ(t.hours, 1.5);
  EXPECT_EQ(t.first, 2u);
  EXPECT_FALSE(t.at_least);
  EXPECT_NEAR(*t.from_deg, 180, 1e-9);

  // A gap starts a new sea at the record after it.
  const std::vector<grib::Record> gap = {rec(0, 20, 90), rec(10, 20, 90),
                                         rec(11, 20, 90)};
  const grib::Window g = grib::window(gap, 2, rules);
  EXPECT_EQ(g.hours, 1);
  EXPECT_TRUE(g.at_least);
}

TEST(Window, RecordAt) {
  const std::vector<grib::Record> s = {rec(0, 1, 0), rec(1, 1, 0),
                                       rec(3, 1, 0)};
  EXPECT_EQ(grib::record_at(s, 0), 0u);
  EXPECT_EQ(grib::record_at(s, 2 * kHour), 1u);
  EXPECT_EQ(grib::record_at(s, 3 * kHour), 2u);
  EXPECT_FALSE(grib::record_at(s, -1).has_value());
  EXPECT_FALSE(grib::record_at(s, 3 * kHour + 1).has_value());
}

}  // namespace

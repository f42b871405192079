#include "morvelstandrik/coast/fetch.hpp"

#include <gtest/gtest.h>
#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace {

using coast::Method;
using coast::Point;

constexpr double kDeg = std::numbers::pi / 180;

// The synthetic coasts are drawn in the azimuthal equidistant projection
// centred on the query point: there a radial is a straight line from the
// origin and its length is the true distance, so the expected fetches are
// plane trigonometry.
struct Plane {
  Point centre;
  GeographicLib::AzimuthalEquidistant projection{
      GeographicLib::Geodesic::WGS84()};

  Point at(double x_km, double y_km) const {
    Point p;
    projection.Reverse(centre.lat, centre.lon, x_km * 1000, y_km * 1000, p.lat,
                       p.lon);
    return p;
  }
  std::pair<double, double> xy(Point p) const {
    double x = 0, y = 0;
    projection.Forward(centre.lat, centre.lon, p.lat, p.lon, x, y);
    return {x / 1000, y / 1000};
  }
  // A line through the corners (km east, km north), straight between them
  // in the plane, as points at most 0.5 km apart.
  std::vector<Point> line(
      const std::vector<std::pair<double, double>>& corners) const {
    std::vector<Point> points{at(corners[0].first, corners[0].second)};
    for (std::size_t i = 1; i < corners.size(); ++i) {
      const auto [x0, y0] = corners[i - 1];
      const auto [x1, y1] = corners[i];
      const int n =
          static_cast<int>(std::ceil(std::hypot(x1 - x0, y1 - y0) / 0.5));
      for (int k = 1; k <= n; ++k) {
        const double f = static_cast<double>(k) / n;
        points.push_back(at(x0 + f * (x1 - x0), y0 + f * (y1 - y0)));
      }
    }
    return points;
  }
  // A closed rectangle from (x0, y0) to (x1, y1).
  std::vector<Point> box(double x0, double y0, double x1, double y1) const {
    return line({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, y0}});
  }
  bool inside(Point p, double x0, double y0, double x1, double y1) const {
    const auto [x, y] = xy(p);
    return x > x0 && x < x1 && y > y0 && y < y1;
  }
};

// The methods' reductions, written out: angles of the radials to the wind
// and how their distances combine.
double spm(double (*r)(double alpha)) {
  double sum = 0;
  for (int k = -4; k <= 4; ++k) sum += r(3.0 * k);
  return sum / 9;
}
double saville(double (*r)(double alpha)) {
  double sum = 0, weights = 0;
  for (int k = -7; k <= 7; ++k) {
    sum += r(6.0 * k) * std::cos(6.0 * k * kDeg);
    weights += std::cos(6.0 * k * kDeg);
  }
  return sum / weights;
}
double line(double (*r)(double alpha)) {
  return r(0);
}

struct Case {
  const char* what;
  Method method;
  double from_deg;
  double (*reduce)(double (*)(double));
  double (*radial)(double alpha);  // distance of the radial alpha off the wind
  bool open;
};

void expect_cases(const coast::Coast& coast, Point p,
                  const std::vector<Case>& cases, double max_km,
                  double tolerance_km) {
  for (const Case& c : cases) {
    const coast::Fetch f = coast::fetch(coast, p, c.from_deg, c.method, max_km);
    EXPECT_NEAR(f.km, c.reduce(c.radial), tolerance_km) << c.what;
    EXPECT_EQ(f.open, c.open) << c.what;
    EXPECT_EQ(f.method, c.method) << c.what;
    const coast::MethodRadials& s = coast::radials_of(c.method);
    ASSERT_EQ(f.radials.size(), static_cast<std::size_t>(s.radials)) << c.what;
    for (std::size_t i = 0; i < f.radials.size(); ++i) {
      const double alpha =
          (static_cast<double>(i) - s.radials / 2) * s.spacing_deg;
      const coast::Radial& r = f.radials[i];
      EXPECT_NEAR(r.azimuth_deg, std::fmod(c.from_deg + alpha + 360, 360), 1e-9)
          << c.what << " radial " << i;
      EXPECT_NEAR(r.distance_km, c.radial(alpha), tolerance_km)
          << c.what << " radial " << i;
    }
  }
}

// A lake 40 km east-west and 20 km north-south, the point at its centre:
// every radial ends on the nearer of the shores it points at.
double lake_north(double a) {
  return std::min(10 / std::cos(a * kDeg), 20 / std::abs(std::sin(a * kDeg)));
}
double lake_east(double a) {
  return std::min(20 / std::cos(a * kDeg), 10 / std::abs(std::sin(a * kDeg)));
}
double lake_northeast(double a) {
  return lake_north(45 + a);
}

TEST(Fetch, RectangularLake) {
  const Plane plane{{45.25, 10.5}};
  coast::Shoreline s{{plane.box(-20, -10, 20, 10)},
                     [&](Point p) {
                       return plane.inside(p, -20, -10, 20, 10) ? coast::lake
                                                                : coast::land;
                     },
                     "GSHHG",
                     "full"};
  const coast::Coast c(std::move(s));
  expect_cases(
      c, plane.centre,
      {
          {"line N", Method::line, 0, line, lake_north, false},
          {"line S", Method::line, 180, line, lake_north, false},
          {"line E", Method::line, 90, line, lake_east, false},
          {"line W", Method::line, 270, line, lake_east, false},
          {"line NE", Method::line, 45, line, lake_northeast, false},
          {"spm N", Method::spm, 0, spm, lake_north, false},
          {"spm E", Method::spm, 90, spm, lake_east, false},
          {"saville N", Method::saville, 0, saville, lake_north, false},
          {"saville E", Method::saville, 90, saville, lake_east, false},
          {"saville W", Method::saville, 270, saville, lake_east, false},
      },
      500, 1e-4);
  // The closed forms of the north: a sec(alpha), and for Saville's cosine
  // weights, 15 a / sum cos(alpha).
  double spm_sum = 0, cosines = 0;
  for (int k = -4; k <= 4; ++k) spm_sum += 10 / std::cos(3 * k * kDeg);
  for (int k = -7; k <= 7; ++k) cosines += std::cos(6 * k * kDeg);
  EXPECT_NEAR(coast::fetch(c, plane.centre, 0).km, spm_sum / 9, 1e-4);
  EXPECT_NEAR(coast::fetch(c, plane.centre, 0, Method::saville).km,
              150 / cosines, 1e-4);
  // The radial's end lies on the shore.
  const coast::Fetch f = coast::fetch(c, plane.centre, 0, Method::line);
  const Point shore = plane.at(0, 10);
  EXPECT_NEAR(f.radials[0].end.lat, shore.lat, 1e-7);
  EXPECT_NEAR(f.radials[0].end.lon, shore.lon, 1e-7);
}

// A channel 10 km wide running east-west far beyond the cap: along it a
// radial is open and counts as the cap, across it each ends on a shore.
double across(double a) {
  return 5 / std::cos(a * kDeg);
}
double along(double a) {
  return a == 0 ? 300 : 5 / std::abs(std::sin(a * kDeg));
}
double along_capped(double a) {
  return std::min(300.0, along(a));
}

TEST(Fetch, Channel) {
  const Plane plane{{-33.5, 151.0}};
  coast::Shoreline s{
      {plane.line({{-800, 5}, {800, 5}}), plane.line({{-800, -5}, {800, -5}})},
      [](Point) { return coast::sea; },
      "channel",
      ""};
  const coast::Coast c(std::move(s));
  expect_cases(
      c, plane.centre,
      {
          {"line N", Method::line, 0, line, across, false},
          {"spm S", Method::spm, 180, spm, across, false},
          {"line E", Method::line, 90, line, along, true},
          {"spm E", Method::spm, 90, spm, along_capped, false},
          {"saville W", Method::saville, 270, saville, along_capped, false},
      },
      300, 1e-4);
}

// An island 10 km square 25 km north of the point, in a bay whose shore
// runs 80 km north: the radials within atan(5/25) of north end on the
// island, the others on the bay's shore.
double island(double a) {
  const double t = std::tan(a * kDeg);
  if (std::abs(25 * t) <= 5) return 25 / std::cos(a * kDeg);
  return 80 / std::cos(a * kDeg);
}

TEST(Fetch, IslandInABay) {
  const Plane plane{{60.1, -2.3}};
  coast::Shoreline s{
      {plane.box(-5, 25, 5, 35),
       plane.line({{-100, -50}, {-100, 80}, {100, 80}, {100, -50}})},
      [&](Point p) {
        return plane.inside(p, -5, 25, 5, 35) ? coast::land : coast::sea;
      },
      "bay",
      ""};
  const coast::Coast c(std::move(s));
  expect_cases(c, plane.centre,
               {
                   {"line N", Method::line, 0, line, island, false},
                   {"spm N", Method::spm, 0, spm, island, false},
                   {"saville N", Method::saville, 0, saville, island, false},
               },
               500, 1e-4);
}

// The point lies 10 km off a shore that runs north-south to its west; a
// headland juts out from it 30 to 40 km north, to 20 km east of the point.
// Radials west of north end on the shore until the headland shelters them,
// those east of north on the headland until they pass its tip, and beyond
// it the sea is open to the cap.
double headland(double a) {
  const double s = std::sin(a * kDeg);
  const double c = std::cos(a * kDeg);
  double best = std::numeric_limits<double>::infinity();
  if (s < 0) best = std::min(best, -10 / s);               // the shore x = -10
  const double x = 30 * s / c;                             // at y = 30
  if (x >= -10 && x <= 20) best = std::min(best, 30 / c);  // its south face
  if (s > 0) {
    const double y = 20 * c / s;  // at x = 20: its east face
    if (y >= 30 && y <= 40) best = std::min(best, 20 / s);
  }
  return std::min(best, 200.0);
}

TEST(Fetch, Headland) {
  const Plane plane{{50.0, -5.0}};
  coast::Shoreline s{
      {plane.line(
          {{-10, -300}, {-10, 30}, {20, 30}, {20, 40}, {-10, 40}, {-10, 300}})},
      {},
      "headland.geojson",
      ""};
  const coast::Coast c(std::move(s));
  expect_cases(c, plane.centre,
               {
                   {"line N", Method::line, 0, line, headland, false},
                   {"spm N", Method::spm, 0, spm, headland, false},
                   {"saville N", Method::saville, 0, saville, headland, false},
                   {"saville NNE", Method::saville, 22.5, saville,
                    [](double a) { return headland(22.5 + a); }, false},
               },
               200, 1e-4);
}

double cap(double) {
  return 120;
}

TEST(Fetch, OpenSeaIsTheCap) {
  const Plane plane{{0.5, -30.0}};
  coast::Shoreline s{{plane.box(-300, 200, -250, 250)},
                     [](Point) { return coast::sea; },
                     "ocean",
                     ""};
  const coast::Coast c(std::move(s));
  expect_cases(c, plane.centre,
               {
                   {"line", Method::line, 10, line, cap, true},
                   {"spm", Method::spm, 200, spm, cap, true},
                   {"saville", Method::saville, 300, saville, cap, true},
               },
               120, 1e-9);
  for (const coast::Radial& r :
       coast::fetch(c, plane.centre, 200, Method::spm, 120).radials) {
    EXPECT_TRUE(r.open);
  }
}

// A lake 60 km square astride the antimeridian.
double square30(double a) {
  return std::min(30 / std::abs(std::cos(a * kDeg)),
                  30 / std::abs(std::sin(a * kDeg)));
}

TEST(Fetch, AcrossTheAntimeridian) {
  for (const double lon : {179.9, -179.95}) {
    const Plane plane{{-20.0, lon}};
    coast::Shoreline s{{plane.box(-30, -30, 30, 30)},
                       [](Point) { return coast::sea; },
                       "dateline",
                       ""};
    const coast::Coast c(std::move(s));
    expect_cases(
        c, plane.centre,
        {
            {"line E", Method::line, 90, line, square30, false},
            {"line W", Method::line, 270, line, square30, false},
            {"spm E", Method::spm, 90, spm, square30, false},
            {"saville W", Method::saville, 270, saville, square30, false},
            {"spm NE", Method::spm, 60, spm,
             [](double a) { return square30(60 + a); }, false},
        },
        500, 1e-4);
  }
}

// The same lake about a point 11 km from the north pole: the radials to
// the north run over the pole.
TEST(Fetch, NearThePole) {
  const Plane plane{{89.9, 45.0}};
  coast::Shoreline s{{plane.box(-30, -30, 30, 30)},
                     [](Point) { return coast::sea; },
                     "arctic",
                     ""};
  // The finest cells the index chooses, whose rows near the pole are
  // walked across every column.
  const coast::Coast fine(s, 0.1);
  const coast::Coast c(std::move(s));
  for (const double from : {0.0, 90.0, 180.0, 300.0}) {
    EXPECT_NEAR(coast::fetch(fine, plane.centre, from).km,
                coast::fetch(c, plane.centre, from).km, 1e-9)
        << from;
  }
  // Near the pole a 0.5 km piece spans degrees of longitude, and is cut
  // straight in longitude where the test drew it straight in the plane:
  // metres apart.
  expect_cases(
      c, plane.centre,
      {
          {"line N", Method::line, 0, line, square30, false},
          {"spm N", Method::spm, 0, spm, square30, false},
          {"saville S", Method::saville, 180, saville, square30, false},
          {"spm W", Method::spm, 270, spm, square30, false},
      },
      500, 0.01);
}

// An island 200 km square at sea holding a lake 20 by 30 km: in the lake
// the fetch ends on the lake's shores; on the island there is none.
double lake_on_island(double a) {
  return std::min(15 / std::abs(std::cos(a * kDeg)),
                  10 / std::abs(std::sin(a * kDeg)));
}
double lake_on_island_east(double a) {
  return lake_on_island(90 + a);
}

TEST(Fetch, LakeOnAnIsland) {
  const Plane plane{{-41.0, 173.0}};
  coast::Shoreline s{
      {plane.box(-100, -100, 100, 100), plane.box(-10, -15, 10, 15)},
      [&](Point p) {
        if (plane.inside(p, -10, -15, 10, 15)) return coast::lake;
        if (plane.inside(p, -100, -100, 100, 100)) return coast::land;
        return coast::sea;
      },
      "GSHHG",
      "intermediate"};
  const coast::Coast c(std::move(s));
  expect_cases(
      c, plane.centre,
      {
          {"line N", Method::line, 0, line, lake_on_island, false},
          {"spm E", Method::spm, 90, spm, lake_on_island_east, false},
          {"saville S", Method::saville, 180, saville, lake_on_island, false},
      },
      500, 1e-4);
  try {
    coast::fetch(c, plane.at(50, 0), 90);
    ADD_FAILURE() << "a point on the island was given a fetch";
  } catch (const coast::OnLand& e) {
    EXPECT_EQ(std::string(e.what()), "on land in GSHHG intermediate");
  }
  // At sea 150 km east of the centre, the wind from the west: the island's
  // east shore 50 km off. (The radials are drawn from the centre's plane,
  // not the point's, so the tolerance allows for the two projections.)
  const coast::Fetch f =
      coast::fetch(c, plane.at(150, 0), 270, Method::line, 500);
  EXPECT_NEAR(f.km, 50, 0.05);
}

// A user's polygon with a hole: land by the even-odd rule, water in the
// hole and outside.
TEST(Fetch, EvenOddOverUserRings) {
  const Plane plane{{10.0, 20.0}};
  coast::Shoreline s{{plane.box(-50, -50, 50, 50), plane.box(-10, -10, 10, 10)},
                     {},
                     "land.geojson",
                     ""};
  const coast::Coast c(std::move(s));
  EXPECT_EQ(c.level(plane.centre), coast::sea);
  EXPECT_EQ(c.level(plane.at(30, 0)), coast::land);
  EXPECT_EQ(c.level(plane.at(0, -45)), coast::land);
  EXPECT_EQ(c.level(plane.at(70, 0)), coast::sea);
  EXPECT_EQ(c.level(plane.at(-70, 20)), coast::sea);
  EXPECT_NEAR(coast::fetch(c, plane.centre, 0, Method::line).km, 10, 1e-4);
  try {
    coast::fetch(c, plane.at(-30, 5), 0);
    ADD_FAILURE() << "a point on the polygon was given a fetch";
  } catch (const coast::OnLand& e) {
    EXPECT_EQ(std::string(e.what()), "on land in land.geojson");
  }
}

// An island astride the antimeridian, cut there into two rings as GeoJSON
// and shapefiles hold it: both halves are land, and a radial across the
// cut runs on to the far shore.
TEST(Fetch, IslandCutAtTheAntimeridian) {
  coast::Shoreline s{
      {{{-17, 178}, {-17, 180}, {-16, 180}, {-16, 178}, {-17, 178}},
       {{-17, -180}, {-17, -179}, {-16, -179}, {-16, -180}, {-17, -180}}},
      {},
      "fiji.geojson",
      ""};
  const coast::Coast c(std::move(s));
  const struct {
    Point p;
    int level;
  } cases[] = {
      {{-16.5, 179.5}, coast::land},   {{-16.5, -179.5}, coast::land},
      {{-16.5, 179.999}, coast::land}, {{-16.5, -179.999}, coast::land},
      {{-16.5, 177.5}, coast::sea},    {{-16.5, -178.5}, coast::sea},
      {{-15.5, 179.5}, coast::sea},    {{-16.5, 0}, coast::sea}};
  for (const auto& k : cases) {
    EXPECT_EQ(c.level(k.p), k.level) << k.p.lat << " " << k.p.lon;
  }
  // From the sea west of the island, wind from the east: the island's
  // west shore along the meridian 178, one degree of longitude less 0.5
  // degrees of it at 16.5 S.
  const coast::Fetch f = coast::fetch(c, {-16.5, 177.5}, 90, Method::line, 500);
  double shore_lat = 0, shore_lon = 0;
  GeographicLib::Geodesic::WGS84().Direct(-16.5, 177.5, 90, f.km * 1000,
                                          shore_lat, shore_lon);
  EXPECT_NEAR(shore_lon, 178, 1e-5);
  // East of it, wind from the west: the shore along the meridian -179.
  const coast::Fetch g =
      coast::fetch(c, {-16.5, -178.5}, 270, Method::line, 500);
  GeographicLib::Geodesic::WGS84().Direct(-16.5, -178.5, 270, g.km * 1000,
                                          shore_lat, shore_lon);
  EXPECT_NEAR(shore_lon, -179, 1e-5);
}

// The index finds the same first crossing whatever the size of its cells:
// a coarse grid holds every segment in a few cells, a fine one walks many.
TEST(Coast, SameCrossingsForAnyCellSize) {
  const Plane plane{{-5.0, 100.0}};
  std::vector<std::vector<Point>> lines;
  for (int i = -6; i <= 6; ++i) {
    for (int j = -6; j <= 6; ++j) {
      if (i == 0 && j == 0) continue;
      const double x = i * 37.0 + (j % 3) * 4.0;
      const double y = j * 29.0 - (i % 4) * 3.0;
      lines.push_back(
          plane.box(x, y, x + 6 + (i + 7) % 5, y + 4 + (j + 7) % 3));
    }
  }
  const coast::Shoreline s{lines, [](Point) { return coast::sea; }, "grid", ""};
  const coast::Coast fine(s, 0.1), coarse(s, 3.0), chosen(s);
  EXPECT_EQ(fine.segments(), coarse.segments());
  int hits = 0;
  for (double az = 0; az < 360; az += 2.3) {
    const auto a = fine.first_crossing(plane.centre, az, 400);
    const auto b = coarse.first_crossing(plane.centre, az, 400);
    const auto d = chosen.first_crossing(plane.centre, az, 400);
    ASSERT_EQ(a.has_value(), b.has_value()) << az;
    ASSERT_EQ(a.has_value(), d.has_value()) << az;
    if (!a) continue;
    ++hits;
    EXPECT_NEAR(*a, *b, 1e-9) << az;
    EXPECT_NEAR(*a, *d, 1e-9) << az;
  }
  EXPECT_GT(hits, 100);  // most radials meet an island
}

TEST(Coast, RefusesPointsOffTheGlobe) {
  EXPECT_THROW(coast::Coast(coast::Shoreline{{{{0, 0}, {91, 0}}}, {}, "x", ""}),
               coast::BadData);
  EXPECT_THROW(
      coast::Coast(coast::Shoreline{{{{0, 0}, {0, 181}}}, {}, "x", ""}),
      coast::BadData);
  EXPECT_THROW(coast::Coast(coast::Shoreline{
                   {{{0, 0}, {std::numeric_limits<double>::quiet_NaN(), 0}}},
                   {},
                   "x",
                   ""}),
               coast::BadData);
}

TEST(Methods, NamesAndRadials) {
  const struct {
    const char* name;
    Method method;
    int radials;
    double spacing;
  } cases[] = {{"spm", Method::spm, 9, 3},
               {"saville", Method::saville, 15, 6},
               {"line", Method::line, 1, 0}};
  for (const auto& c : cases) {
    ASSERT_EQ(coast::method_named(c.name), c.method) << c.name;
    EXPECT_EQ(coast::radials_of(c.method).name, c.name);
    EXPECT_EQ(coast::radials_of(c.method).radials, c.radials);
    EXPECT_EQ(coast::radials_of(c.method).spacing_deg, c.spacing);
  }
  EXPECT_FALSE(coast::method_named("SPM"));
  EXPECT_FALSE(coast::method_named(""));
}

}  // namespace

// The fetch over the real GSHHG shoreline against an independent reckoning
// over the same data: every shoreline segment near the position, no index,
// the radials as straight lines of the gnomonic projection centred on the
// position (not the azimuthal equidistant one the fetch uses), each
// crossing's distance by the inverse geodesic problem.
#include <gtest/gtest.h>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Gnomonic.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "morvelstandrik/coast/fetch.hpp"
#include "morvelstandrik/gshhg/gshhg.hpp"

namespace {

struct Place {
  const char* name;
  double lat, lon, from_deg;
};

// The first crossing of the radial at azimuth az (degrees) with any
// segment, in km, or the cap.
double brute_radial(const coast::Shoreline& s, coast::Point p, double az,
                    double cap_km) {
  const GeographicLib::Geodesic& g = GeographicLib::Geodesic::WGS84();
  const GeographicLib::Gnomonic gn(g);
  const double rad = az * std::numbers::pi / 180;
  const double dx = std::sin(rad), dy = std::cos(rad);
  double best = cap_km;
  for (const auto& line : s.lines) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      double ax, ay, bx, by, azi, rk;
      gn.Forward(p.lat, p.lon, line[i - 1].lat, line[i - 1].lon, ax, ay, azi,
                 rk);
      gn.Forward(p.lat, p.lon, line[i].lat, line[i].lon, bx, by, azi, rk);
      if (!std::isfinite(ax) || !std::isfinite(bx)) continue;
      // The ray t*(dx, dy), t > 0, against the segment a + u*(b - a).
      const double ex = bx - ax, ey = by - ay;
      const double den = dx * ey - dy * ex;
      if (den == 0) continue;
      const double t = (ax * ey - ay * ex) / den;
      const double u = (ax * dy - ay * dx) / den;
      if (t <= 0 || u < 0 || u > 1) continue;
      double lat, lon, s12;
      gn.Reverse(p.lat, p.lon, t * dx, t * dy, lat, lon, azi, rk);
      g.Inverse(p.lat, p.lon, lat, lon, s12);
      best = std::min(best, s12 / 1000);
    }
  }
  return best;
}

TEST(GshhgFetch, WithinOnePercentOfAnIndependentReckoning) {
  const Place places[] = {
      {"Kiel Bight, wind NE", 54.5, 10.25, 45},
      {"North Sea, wind W", 55.0, 5.0, 270},
      {"Bay of Biscay, wind NW", 44.5, -3.0, 315},
      {"Ionian Sea, wind E", 36.0, 18.0, 90},
      {"Cook Strait, wind NW", -41.3, 174.6, 315},
      {"Bering Strait, wind N", 65.6, -168.6, 0},
      {"Gulf of Finland, wind SW", 60.0, 25.5, 225},
      {"Strait of Gibraltar, wind E", 35.95, -5.5, 90},
  };
  const double cap = 500;
  for (const Place& pl : places) {
    // Every tile within a little more than the cap of the place.
    const double dlat = cap / 110.5 + 1;
    const double dlon =
        dlat / std::cos((std::abs(pl.lat) + dlat) * std::numbers::pi / 180);
    gshhg::Box box{pl.lat - dlat, pl.lon - dlon, pl.lat + dlat, pl.lon + dlon};
    if (box.west < -180) box.west += 360;
    if (box.east > 180) box.east -= 360;
    const coast::Shoreline shore = gshhg::load_region('i', box);
    double sum = 0;
    for (int k = -4; k <= 4; ++k) {
      double az = std::fmod(pl.from_deg + 3.0 * k + 360, 360);
      sum += brute_radial(shore, {pl.lat, pl.lon}, az, cap);
    }
    const double want = sum / 9;
    const coast::Coast c(gshhg::load_region('i', box));
    const coast::Fetch got =
        coast::fetch(c, {pl.lat, pl.lon}, pl.from_deg, coast::Method::spm, cap);
    EXPECT_NEAR(got.km, want, 0.01 * want) << pl.name;
    EXPECT_GT(want, 1) << pl.name << ": not a place at sea";
  }
}

}  // namespace

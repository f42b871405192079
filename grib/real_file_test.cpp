// A real forecast: the GFS 2.5-degree file among the examples of Debian's
// python-grib-doc (skipped where that package is not installed). NCEP
// writes u and v of a level in one message. The 10 m wind at grid points is
// checked against ecCodes' own nearest-point values of 10u and 10v, read
// with its support for several fields in a message.
#include <eccodes.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "morvelstandrik/grib/wind.hpp"

namespace {

const std::string kFile =
    "/usr/share/doc/python-grib-doc/examples/gfs.t12z.pgrbf120.2p5deg.grib2";

// ecCodes' value of shortName at the grid point nearest (lat, lon).
double eccodes_nearest(const std::string& short_name, double lat, double lon) {
  codes_grib_multi_support_on(nullptr);
  FILE* f = std::fopen(kFile.c_str(), "rb");
  if (!f) return NAN;
  double found = NAN;
  int err = 0;
  while (codes_handle* h =
             codes_handle_new_from_file(nullptr, f, PRODUCT_GRIB, &err)) {
    char name[64];
    std::size_t n = sizeof name;
    codes_get_string(h, "shortName", name, &n);
    if (short_name == name && std::isnan(found)) {
      codes_nearest* near = codes_grib_nearest_new(h, &err);
      double lats[4], lons[4], values[4], distances[4];
      int indexes[4];
      std::size_t len = 4;
      codes_grib_nearest_find(near, h, lat, lon, CODES_NEAREST_SAME_GRID, lats,
                              lons, values, distances, indexes, &len);
      std::size_t best = 0;
      for (std::size_t k = 1; k < len; ++k) {
        if (distances[k] < distances[best]) best = k;
      }
      found = values[best];
      codes_grib_nearest_delete(near);
    }
    codes_handle_delete(h);
  }
  std::fclose(f);
  codes_grib_multi_support_off(nullptr);
  return found;
}

TEST(RealFile, GfsTenMetreWindAtGridPoints) {
  if (!std::filesystem::exists(kFile)) {
    GTEST_SKIP() << kFile << " is not installed (Debian's python-grib-doc)";
  }
  const std::vector<geo::Position> at = {
      {55, 5}, {40, -30}, {-42.5, 175}, {0, 180}, {-60, -62.5}};
  const std::vector<std::string> files = {kFile};
  const auto nearest = grib::read_wind_files(files, at, grib::Method::kNearest);
  const auto bilinear =
      grib::read_wind_files(files, at, grib::Method::kBilinear);
  ASSERT_EQ(nearest.size(), at.size());
  for (std::size_t i = 0; i < at.size(); ++i) {
    ASSERT_EQ(nearest[i].error, "") << at[i].lat << " " << at[i].lon;
    ASSERT_EQ(nearest[i].records.size(), 1u);
    const grib::Record& r = nearest[i].records[0];
    // Valid 2011-01-15T12:00Z (the 120 h forecast of the 10th, 12 Z).
    EXPECT_EQ(r.time, grib::days_from_civil(2011, 1, 15) * 86400 + 12 * 3600);
    const double u = eccodes_nearest("10u", at[i].lat, at[i].lon);
    const double v = eccodes_nearest("10v", at[i].lat, at[i].lon);
    EXPECT_NEAR(r.u, u, 1e-9 * std::max(1.0, std::fabs(u)));
    EXPECT_NEAR(r.v, v, 1e-9 * std::max(1.0, std::fabs(v)));
    // On a grid point the interpolation is the point's own value.
    EXPECT_EQ(bilinear[i].records[0].u, r.u);
    EXPECT_EQ(bilinear[i].records[0].v, r.v);
  }
}

}  // namespace

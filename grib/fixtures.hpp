// GRIB messages with known fields, made from ecCodes' sample templates: the
// inputs of the tests, the benchmark and the fuzz seeds. Nothing here reads
// GRIB; it only writes it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace grib::fixtures {

// One message of the 10 m wind.
struct Message {
  int edition = 2;
  char component = 'u';   // 'u', 'v', or 't' for a 2 m temperature
  std::int64_t run = 0;   // analysis time, s since 1970 (whole hours)
  int step_h = 0;         // forecast step, hours: valid at run + step
  bool gaussian = false;  // the sample's global Gaussian grid, N = 32
  bool rotated = false;   // the sample's rotated latitude/longitude grid
  // A regular grid: first and last latitude and longitude, points.
  double lat0 = 60, lat1 = 50, lon0 = 0, lon1 = 10;
  int ni = 11, nj = 11;
  int bits = 24;  // bits per packed value
  // ecCodes' packingType ("grid_complex_spatial_differencing", "grid_ccsds",
  // ...); empty: the sample's simple packing.
  std::string packing;
  // The value at each grid point.
  std::function<double(double lat, double lon)> value = [](double, double) {
    return 0.0;
  };
};

// The bytes of one message (from regular_ll_sfc_grib1/2 or
// regular_gg_sfc_grib1/2). Aborts when ecCodes refuses a key: a fixture
// that cannot be made is a broken test.
std::string message(const Message& m);

// A u and a v message with the same grid and time, constant over the grid.
std::string wind(int edition, std::int64_t run, int step_h, double u, double v);

}  // namespace grib::fixtures

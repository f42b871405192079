// The 10 m wind from GRIB forecast files (editions 1 and 2) at given
// positions: one record per validity time, read with ecCodes. Only the
// messages of the 10 m wind are decoded, and of those only the grid points
// around the positions.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/geo/position.hpp"

namespace grib {

// Why the wind cannot be read: names the file and, where one is to blame,
// the message (counted from 1 in its file).
//   "wind.grib2: message 3: u (10u) without its v at 2026-12-10T06:00Z"
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The wind at one position at one validity time: u towards the east and v
// towards the north, m/s, relative to true north.
struct Record {
  std::int64_t time = 0;  // validity time, seconds since 1970-01-01T00:00Z
  double u = 0;
  double v = 0;
};

// How the wind at a position comes from the grid.
enum class Method {
  kBilinear,  // between the four surrounding grid points
  kNearest,   // the grid point nearest in latitude and in longitude
};

// A GRIB file's bytes and the name messages call it by.
struct Source {
  std::string name;
  std::string_view bytes;
};

// The wind at one position: its records ordered by validity time, or why
// the files give none there (then no records).
struct Series {
  std::vector<Record> records;
  // "f.grib2: message 1: the position 70,5 is outside its grid (latitudes
  // 60 to 50)"; empty when the position has its records
  std::string error;
};

// The series at each position (in the order of `at`). Messages are the 10 m
// wind: 10u/10v, or u/v at 10 m above the ground. Where two runs give the same
// validity time the later run (analysis date and time) wins; within one run a
// later message wins. Regular latitude/longitude and regular Gaussian grids,
// longitudes 0..360 or -180..180; a global grid interpolates across its seam.
// Throws Error for bytes that are not GRIB, a truncated or damaged message
// (sections that overrun it, a count of values that does not fit the grid,
// an unknown unit of time), no 10 m wind, a u without its v (or a v
// without its u), a grid that cannot be interpolated (reduced, rotated,
// projected, spectral, Gaussian finer than N = 2560), edition 1
// second-order packing, or winds on a grid that does not follow the
// meridians; these are checked on the messages' own bytes and cheap keys
// before ecCodes works anything out, as it may hang or crash on them. A
// position outside a grid, or at grid points without values, has no records and
// the error of the first message that failed it; the other positions are read.
//   u = 3, v = 4 everywhere at 06 and 12 UTC ->
//   {{{{t06, 3, 4}, {t12, 3, 4}}, ""}} for one position
std::vector<Series> read_wind(std::span<const Source> sources,
                              std::span<const geo::Position> at,
                              Method method = Method::kBilinear);

// The same, from files on disk (mapped, not copied). Throws Error also for a
// file that cannot be read.
std::vector<Series> read_wind_files(std::span<const std::string> files,
                                    std::span<const geo::Position> at,
                                    Method method = Method::kBilinear);

// A validity time as ISO 8601 UTC to the minute, seconds when not zero.
//   format_time(0) -> "1970-01-01T00:00Z"; 30 s later -> "...T00:00:30Z"
std::string format_time(std::int64_t seconds);

// Reads an ISO 8601 UTC time: "2026-12-10T06:00Z", "2026-12-10T06:00:30Z",
// "2026-12-10T06Z", "2026-12-10 06:00" (no zone or Z or +00:00 is UTC),
// or a date alone (midnight). Throws Error naming the text otherwise.
//   parse_time("1970-01-02T01:00Z") -> 90000
std::int64_t parse_time(std::string_view text);

// Days since 1970-01-01 of a proleptic Gregorian date.
//   days_from_civil(1970, 1, 2) -> 1
std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d);

// A date in the proleptic Gregorian calendar.
struct CivilDate {
  std::int64_t year;
  unsigned month, day;
};
// The date of a day counted from 1970-01-01 (day 0); the inverse of
// days_from_civil, before 1970 too.
//   civil_from_days(1) -> {1970, 1, 2};  civil_from_days(-1) -> {1969, 12, 31}
CivilDate civil_from_days(std::int64_t days);

}  // namespace grib

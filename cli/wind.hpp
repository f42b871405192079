// The wind from GRIB forecast files on the command line: the `wind` command
// (the series at a position and how long the wind has blown), and the wind
// sea with its wind, duration and direction taken from the files
// (`windsea --grib`, one case or a batch of sites). A build without
// GeographicLib and ecCodes (Windows, the browser) says it has no GRIB
// support, with the usage status.
#pragma once

#include "morvelstandrik/cli/coastline.hpp"

#include <optional>
#include <string>
#include <vector>

#include "morvelstandrik/cli/modes.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// What the command line asks of the GRIB wind.
struct GribOptions {
  std::vector<std::string> files;
  std::string at;    // --at LAT,LON
  std::string time;  // --time, ISO 8601 UTC; empty: by the clock
  bool nearest = false;
  double steady_direction = 15;  // degrees
  double steady_speed = 5;       // knots
  double max_gap_h = 6;
  std::string duration_method = "steady";  // or "equivalent"
  // The clock, seconds since 1970 UTC; none: the system's. Without --time
  // the time is the latest record not after it (the first if all are).
  std::optional<long long> now;
  // Without a fetch: the coastline the fetch is taken from, and how.
  CoastOptions coast;
};

// Whether this build reads GRIB files.
bool grib_supported();

// `wind FILE... --at LAT,LON`: the series as text, csv or json, and the
// window of steady wind at the time. Status 0, or 2 with one line on err
// naming the file and message (or the argument) that failed.
//   wind f.grib2 --at 55,5 --time 2026-12-10T06:00Z ->
//   "time  wind_kt ..." rows, then the steady window, status 0
int wind(const GribOptions& g, const std::string& format, shell::ByteSink& out,
         shell::ByteSink& err);

// `windsea --grib FILE... --at LAT,LON --depth D`: the wind sea with the
// wind speed, duration and direction from the files and the fetch from
// --fetch (or, where it is built, from the coastline along the direction),
// computed exactly as `windsea --wind X --duration Y --fetch Z` with X and Y
// the shortest texts of the floats the engine is given. With q.file a
// batch: columns lat, lon, time, depth_m and optional current_kt,
// fetch_km; the files read once for all rows; a bad row is an error row.
int windsea_grib(const Request& q, const GribOptions& g, shell::ByteSource& in,
                 shell::ByteSink& out, shell::ByteSink& err);

}  // namespace cli

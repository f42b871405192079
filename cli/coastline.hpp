// The fetch from a coastline, as the command line asks for it: a position
// and a wind direction as typed, the coastline (GSHHG or a user's file),
// the method and the cap. The coastline is loaded once and then only read,
// by one case or by every thread of a batch. A build without coastline
// support (Windows, the browser) has the same interface and answers that
// it has none.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

// Whether this build computes fetches from coastlines.
bool has_coastlines();
// What a build without them answers.
inline constexpr std::string_view kNoCoastlines =
    "this build has no coastline support (no fetch from a position); give "
    "the fetch in km";

// The options that choose the coastline and the method, as typed.
struct CoastOptions {
  std::string file;                 // --coast: a user's file; empty: GSHHG
  std::string resolution = "auto";  // --resolution: auto, f, h, i, l or c
  std::string method = "spm";       // --method: spm, saville or line
  std::string max_fetch;            // --max-fetch in km; empty: 500
};

// One radial as the results show it.
struct RadialResult {
  double azimuth_deg = 0;
  double distance_km = 0;
  bool open = false;
  double lat = 0, lon = 0;  // its end
};

// A fetch and where it came from.
struct FetchOrigin {
  double lat = 0, lon = 0;  // the position, read
  double from_deg = 0;      // the wind direction, read
  double fetch_km = 0;      // the method's fetch
  float engine_km = 0;      // the same rounded to the float an engine reads
  bool open = false;        // every radial open: at least fetch_km
  double max_km = 0;        // the cap
  std::string method;       // spm
  std::string source, resolution;  // GSHHG, intermediate; or a file, ""
  std::vector<RadialResult> radials;
};

// A coastline loaded with its method and cap.
class FetchFinder {
 public:
  virtual ~FetchFinder() = default;
  // The fetch at a position given as latitude and longitude texts ("54.5",
  // "54d30N") for a wind from `from` ("270", "W"): empty with origin
  // filled, or what is wrong in words ("latitude must lie between -90 and
  // 90 degrees", "54.5, 10.25 is on land in GSHHG intermediate").
  virtual std::string find(std::string_view lat, std::string_view lon,
                           std::string_view from,
                           FetchOrigin& origin) const = 0;
};

// What is wrong with a position and a wind direction as typed, or empty:
// checked before a coastline is loaded, which may take seconds. A build
// without coastlines finds nothing wrong here.
std::string check_place(std::string_view lat, std::string_view lon,
                        std::string_view from);

// Loads the coastline the options name, checking the method and cap: the
// finder, or none with the problem said (a missing data set names the
// Debian package to install, or --coast FILE; a build without coastlines
// says kNoCoastlines).
std::unique_ptr<FetchFinder> load_finder(const CoastOptions& o,
                                         std::string& problem);

// As load_finder, for questions about one position only (LAT and LON as
// typed): of the GSHHG coastline only the tiles within the cap of it are
// read. The finder gives that position the fetch load_finder's would.
std::unique_ptr<FetchFinder> load_finder_near(const CoastOptions& o,
                                              std::string_view lat,
                                              std::string_view lon,
                                              std::string& problem);

}  // namespace cli

#include "morvelstandrik/cli/coastline.hpp"

#ifdef MORVEL_HAS_COAST
#include <charconv>
#include <cmath>
#include <filesystem>
#include <numbers>
#include <optional>

#include "morvelstandrik/cli/gshhg_link.hpp"
#include "morvelstandrik/coast/fetch.hpp"
#include "morvelstandrik/coast/user_file.hpp"
#include "morvelstandrik/geo/position.hpp"
#endif

namespace cli {

#ifndef MORVEL_HAS_COAST

bool has_coastlines() {
  return false;
}

std::string check_place(std::string_view, std::string_view, std::string_view) {
  return {};
}

std::unique_ptr<FetchFinder> load_finder(const CoastOptions&,
                                         std::string& problem) {
  problem = kNoCoastlines;
  return nullptr;
}

std::unique_ptr<FetchFinder> load_finder_near(const CoastOptions&,
                                              std::string_view,
                                              std::string_view,
                                              std::string& problem) {
  problem = kNoCoastlines;
  return nullptr;
}

#else

namespace {

// The largest cap: the longest fetch the wind-sea model reads.
constexpr double kLongestCapKm = 5000;

class CoastFinder final : public FetchFinder {
 public:
  CoastFinder(coast::Shoreline s, coast::Method method, double max_km)
      : coast_(std::move(s)), method_(method), max_km_(max_km) {}

  std::string find(std::string_view lat, std::string_view lon,
                   std::string_view from, FetchOrigin& o) const override {
    geo::Position p;
    double from_deg = 0;
    try {
      p = geo::parse_position(lat, lon);
      from_deg = geo::parse_direction(from);
    } catch (const geo::BadInput& e) {
      return e.what();
    }
    coast::Fetch f;
    try {
      f = coast::fetch(coast_, {p.lat, p.lon}, from_deg, method_, max_km_);
    } catch (const coast::OnLand& e) {
      return "position " + std::string(lat) + ", " + std::string(lon) + " is " +
             e.what();
    }
    o.lat = p.lat;
    o.lon = p.lon;
    o.from_deg = from_deg;
    o.fetch_km = f.km;
    o.engine_km = static_cast<float>(f.km);
    o.open = f.open;
    o.max_km = max_km_;
    o.method = coast::radials_of(method_).name;
    o.source = coast_.source();
    o.resolution = coast_.resolution();
    o.radials.clear();
    for (const coast::Radial& r : f.radials) {
      o.radials.push_back(
          {r.azimuth_deg, r.distance_km, r.open, r.end.lat, r.end.lon});
    }
    return {};
  }

 private:
  coast::Coast coast_;
  coast::Method method_;
  double max_km_;
};

// The GSHHG tiles that hold every point within max_km of p: a band of
// latitude a little wider than max_km, and of longitude widened for its
// highest latitude; every longitude where the band comes near a pole.
gshhg::Box around(geo::Position p, double max_km) {
  // A degree of latitude is at least 110.5 km; one more degree for the
  // geodesics' bend.
  const double dlat = max_km / 110.5 + 1;
  gshhg::Box box;
  box.south = std::max(-90.0, p.lat - dlat);
  box.north = std::min(90.0, p.lat + dlat);
  const double highest = std::max(std::abs(box.south), std::abs(box.north));
  if (highest >= 89) {
    box.south = p.lat - dlat < -89 ? -90 : box.south;
    box.north = p.lat + dlat > 89 ? 90 : box.north;
    return box;  // every longitude
  }
  const double dlon = dlat / std::cos(highest * std::numbers::pi / 180);
  if (dlon >= 180) return box;
  box.west = p.lon - dlon;
  box.east = p.lon + dlon;
  if (box.west < -180) box.west += 360;
  if (box.east > 180) box.east -= 360;
  return box;
}

coast::Shoreline load_gshhg(const std::string& wanted,
                            const std::optional<gshhg::Box>& region) {
  char r = 0;
  if (wanted == "auto") {
    try {
      r = gshhg::finest_installed(kGshhgDirectory);
    } catch (const coast::BadData&) {
      throw coast::BadData(
          "no GSHHG coastline is installed; install the Debian package "
          "gmt-gshhg-low (or gmt-gshhg-high, gmt-gshhg-full), or give "
          "--coast FILE");
    }
  } else {
    r = wanted[0];
    const std::string file = std::string(kGshhgDirectory) + "/binned_GSHHS_" +
                             std::string(1, r) + ".nc";
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) {
      throw coast::BadData("the GSHHG " + gshhg::resolution_name(r) +
                           " coastline is not installed (" + file +
                           "); install the Debian package " + gshhg_package(r) +
                           ", or give --coast FILE");
    }
  }
  return region ? gshhg::load_region(r, *region, kGshhgDirectory)
                : gshhg::load(r, kGshhgDirectory);
}

}  // namespace

bool has_coastlines() {
  return true;
}

std::string check_place(std::string_view lat, std::string_view lon,
                        std::string_view from) {
  try {
    geo::parse_position(lat, lon);
    geo::parse_direction(from);
  } catch (const geo::BadInput& e) {
    return e.what();
  }
  return {};
}

std::unique_ptr<FetchFinder> load_finder(const CoastOptions& o,
                                         std::string& problem) {
  return load_finder_near(o, {}, {}, problem);
}

std::unique_ptr<FetchFinder> load_finder_near(const CoastOptions& o,
                                              std::string_view lat,
                                              std::string_view lon,
                                              std::string& problem) {
  const std::optional<coast::Method> method = coast::method_named(o.method);
  if (!method) {
    problem = "--method: '" + o.method +
              "' is not a method; use spm, saville or line";
    return nullptr;
  }
  double max_km = coast::kDefaultMaxFetchKm;
  if (!o.max_fetch.empty()) {
    const char* first = o.max_fetch.data();
    const char* last = first + o.max_fetch.size();
    const auto [end, ec] = std::from_chars(first, last, max_km);
    if (ec != std::errc() || end != last || !std::isfinite(max_km) ||
        !(max_km > 0) || max_km > kLongestCapKm) {
      problem = "--max-fetch: '" + o.max_fetch +
                "' is not a distance above 0 and at most 5000 km";
      return nullptr;
    }
  }
  const std::string& r = o.resolution;
  if (r != "auto" && r != "f" && r != "h" && r != "i" && r != "l" && r != "c") {
    problem = "--resolution: '" + r +
              "' is not a resolution; use auto, f, h, i, l or c";
    return nullptr;
  }
  if (!o.file.empty() && r != "auto") {
    problem =
        "--resolution chooses among the GSHHG coastlines; a --coast "
        "file has its own";
    return nullptr;
  }
  // One position: only the GSHHG tiles its radials can reach are read,
  // which at full resolution is a few hundredths of a second instead of
  // seconds, and megabytes instead of hundreds. The fetch is the same: the
  // shoreline within the cap is all there.
  std::optional<gshhg::Box> region;
  if (!lat.empty() || !lon.empty()) {
    try {
      region = around(geo::parse_position(lat, lon), max_km);
    } catch (const geo::BadInput& e) {
      problem = e.what();
      return nullptr;
    }
  }
  try {
    coast::Shoreline s =
        o.file.empty() ? load_gshhg(r, region) : coast::read_user_file(o.file);
    return std::make_unique<CoastFinder>(std::move(s), *method, max_km);
  } catch (const coast::BadData& e) {
    problem = e.what();
  }
  return nullptr;
}

#endif

}  // namespace cli

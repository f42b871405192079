#include "morvelstandrik/cli/coastline.hpp"

#ifdef MORVEL_HAS_COAST
#include <charconv>
#include <cmath>
#include <filesystem>
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
    o.method = coast::spec(method_).name;
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

coast::Shoreline load_gshhg(const std::string& wanted) {
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
  return gshhg::load(r, kGshhgDirectory);
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
  try {
    coast::Shoreline s =
        o.file.empty() ? load_gshhg(r) : coast::read_user_file(o.file);
    return std::make_unique<CoastFinder>(std::move(s), *method, max_km);
  } catch (const coast::BadData& e) {
    problem = e.what();
  }
  return nullptr;
}

#endif

}  // namespace cli

#include "morvelstandrik/cli/fetch_command.hpp"

#include <cstdio>

#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/modes.hpp"

namespace cli {
namespace {

std::string method_words(const FetchOrigin& o) {
  if (o.method == "spm") {
    return "spm: the mean of 9 radials 3 degrees apart";
  }
  if (o.method == "saville") {
    return "saville: 15 radials 6 degrees apart weighted by the cosine of "
           "their angle to the wind";
  }
  return "line: the one radial along the wind";
}

std::string coast_name(const FetchOrigin& o) {
  return o.resolution.empty() ? o.source : o.source + " " + o.resolution;
}

void members(Json& j, const FetchOrigin& o) {
  j.key("fetch_km").real(o.fetch_km);
  j.key("method").text(o.method);
  j.key("open").boolean(o.open);
  j.key("max_fetch_km").real(o.max_km);
  j.key("wind_from_deg").real(o.from_deg);
  j.key("lat").real(o.lat);
  j.key("lon").real(o.lon);
  j.key("source").utf8(o.source);
  j.key("resolution").utf8(o.resolution);
}

void radial_members(Json& j, const RadialResult& r) {
  j.key("azimuth_deg").real(r.azimuth_deg);
  j.key("distance_km").real(r.distance_km);
  j.key("open").boolean(r.open);
  j.key("lat").real(r.lat);
  j.key("lon").real(r.lon);
}

void position(Json& j, double lon, double lat) {
  j.begin_array();
  j.real(lon);
  j.real(lat);
  j.end_array();
}

}  // namespace

void render_fetch(std::string& text, const FetchOrigin& o) {
  char line[160];
  std::snprintf(line, sizeof line, "Fetch: %s%.1f km (%s)\n",
                o.open ? "at least " : "", o.fetch_km, method_words(o).c_str());
  text += line;
  std::snprintf(line, sizeof line,
                "Wind from %.1f deg at %.5f, %.5f; radials capped at %g km\n",
                o.from_deg, o.lat, o.lon, o.max_km);
  text += line;
  text += "Coastline: " + coast_name(o) + "\n";
  text += "  Azimuth   Distance  Water\n";
  for (const RadialResult& r : o.radials) {
    std::snprintf(line, sizeof line, "  %7.1f %8.2f km  %s\n", r.azimuth_deg,
                  r.distance_km, r.open ? "open" : "shore");
    text += line;
  }
}

void json_fetch(std::string& out, const FetchOrigin& o) {
  Json j(out);
  j.begin_object();
  members(j, o);
  j.key("radials").begin_array();
  for (const RadialResult& r : o.radials) {
    j.begin_object();
    radial_members(j, r);
    j.end_object();
  }
  j.end_array();
  j.end_object();
  out.push_back('\n');
}

void geojson_fetch(std::string& out, const FetchOrigin& o) {
  Json j(out);
  j.begin_object();
  j.key("type").text("FeatureCollection");
  j.key("features").begin_array();
  j.begin_object();
  j.key("type").text("Feature");
  j.key("geometry").begin_object();
  j.key("type").text("Point");
  j.key("coordinates");
  position(j, o.lon, o.lat);
  j.end_object();
  j.key("properties").begin_object();
  members(j, o);
  j.end_object();
  j.end_object();
  for (const RadialResult& r : o.radials) {
    j.begin_object();
    j.key("type").text("Feature");
    j.key("geometry").begin_object();
    j.key("type").text("LineString");
    j.key("coordinates").begin_array();
    position(j, o.lon, o.lat);
    position(j, r.lon, r.lat);
    j.end_array();
    j.end_object();
    j.key("properties").begin_object();
    radial_members(j, r);
    j.end_object();
    j.end_object();
  }
  j.end_array();
  j.end_object();
  out.push_back('\n');
}

int fetch_command(const FetchRequest& r, shell::ByteSink& out,
                  shell::ByteSink& err) {
  std::string problem = check_place(r.lat, r.lon, r.from);
  if (!problem.empty()) return usage(err, "fetch: " + problem, "fetch");
  const std::unique_ptr<FetchFinder> finder =
      load_finder_near(r.coast, r.lat, r.lon, problem);
  if (!finder) return usage(err, "fetch: " + problem, "fetch");
  FetchOrigin o;
  problem = finder->find(r.lat, r.lon, r.from, o);
  if (!problem.empty()) return usage(err, "fetch: " + problem, "fetch");
  std::string text;
  if (r.format == "json") {
    json_fetch(text, o);
  } else if (r.format == "geojson") {
    geojson_fetch(text, o);
  } else {
    render_fetch(text, o);
  }
  out.write(text);
  return 0;
}

}  // namespace cli

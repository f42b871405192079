// The fetch command: the fetch at a position for a wind direction over a
// coastline, with the radials it was made of, as text, JSON or GeoJSON.
//   morvelstandrik fetch 54.5 10.25 W --coast land.geojson
#pragma once

#include <string>

#include "morvelstandrik/cli/coastline.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

struct FetchRequest {
  std::string lat, lon, from;  // as typed
  CoastOptions coast;
  std::string format = "text";  // text, json or geojson
};

// Loads the coastline, computes the fetch and writes it; status 0, or a
// usage error (bad position or direction, on land, no data) with status 2.
int fetch_command(const FetchRequest& r, shell::ByteSink& out,
                  shell::ByteSink& err);

// The fetch as text: the fetch, then one line per radial.
//   "Fetch: 41.2 km (spm: the mean of 9 radials 3 degrees apart)\n..."
void render_fetch(std::string& text, const FetchOrigin& o);
// The fetch as one JSON object, one line.
void json_fetch(std::string& out, const FetchOrigin& o);
// The fetch as a GeoJSON FeatureCollection: the point, then the radials as
// LineStrings, each with its properties.
void geojson_fetch(std::string& out, const FetchOrigin& o);

}  // namespace cli

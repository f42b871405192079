// A user's coastline: land polygons from an ESRI shapefile or a GeoJSON
// file, in degrees of longitude and latitude (WGS84). Every ring of every
// polygon becomes a closed line; what is land follows from the rings by
// the even-odd rule (a hole in a polygon, a lake, is water), so the
// shoreline's level is left empty for coast::Coast to answer.
#pragma once

#include <string>
#include <string_view>

#include "morvelstandrik/coast/shoreline.hpp"

namespace coast {

// Reads a shapefile of polygons (shape type Polygon, PolygonZ or
// PolygonM): path names the .shp (the .shx must lie beside it). The
// shoreline's source is path, its resolution empty.
// Throws BadData, naming the file, when it cannot be opened, holds another
// shape type, a damaged shape, or coordinates that are not longitude and
// latitude.
//   read_shapefile("land.shp") -> {rings..., {}, "land.shp", ""}
Shoreline read_shapefile(const std::string& path);

// The same from the two files' bytes held in memory (the .shp and the
// .shx), named `name` in messages.
Shoreline read_shapefile_bytes(std::string_view shp, std::string_view shx,
                               const std::string& name);

// Reads GeoJSON text: a FeatureCollection of Polygon or MultiPolygon
// features, one such Feature, or a bare Polygon, MultiPolygon or
// GeometryCollection of them. Positions are [longitude, latitude] (a
// third number, the height, is ignored); a ring that does not repeat its
// first position at its end is closed. Features without geometry (null)
// are skipped. Throws BadData, naming `name`, for text that is not JSON,
// nested too deep, another geometry type, or a position out of range.
//   read_geojson_text(R"({"type":"Polygon","coordinates":[[[0,0],[1,0],
//                       [1,1],[0,0]]]})", "x") -> one ring of 4 points
Shoreline read_geojson_text(std::string_view text, const std::string& name);

// Reads a GeoJSON file as above; BadData when it cannot be read.
Shoreline read_geojson(const std::string& path);

// Reads a user's coastline by its name: a .shp file as a shapefile, any
// other (.geojson, .json) as GeoJSON.
Shoreline read_user_file(const std::string& path);

}  // namespace coast

// A coastline as the fetch computation sees it, whatever file it came from:
// the shorelines as lines of points and a test of what lies at a point.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace coast {

// A coastline file that is missing, unreadable or not what it claims to
// be; the message names the file, or the Debian package that provides it.
class BadData : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A point in degrees: latitude in [-90, 90], longitude in [-180, 180].
struct Point {
  double lat = 0;
  double lon = 0;
};

// What lies at a point. Odd levels are land, even levels water.
enum Level : int { sea = 0, land = 1, lake = 2, island_in_lake = 3, pond = 4 };

// Shorelines and the level of every point between them.
//   lines: each shoreline as a line of points; a closed ring repeats its
//          first point at its end. Lines may be pieces of longer shores cut
//          at the edges of the file's tiles; two pieces that meet share the
//          end point exactly.
//   level: the level at a point (sea, land, lake, island in a lake, pond);
//          a user's land polygons give only sea or land.
//   source, resolution: what to call the data in messages and results,
//          e.g. "GSHHG" and "intermediate", or a file name and "".
// Example: a square island 1 degree across at the equator:
//   Shoreline s{{{{0, 0}, {0, 1}, {1, 1}, {1, 0}, {0, 0}}},
//               [](Point p) { return inside(p) ? land : sea; },
//               "island.geojson", ""};
struct Shoreline {
  std::vector<std::vector<Point>> lines;
  std::function<int(Point)> level;
  std::string source;
  std::string resolution;
};

}  // namespace coast

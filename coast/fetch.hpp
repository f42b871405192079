// The fetch at a position for a wind direction: the open water upwind,
// measured along radials cast from the position over a coastline.
//
// A radial is the geodesic that leaves the position at a given azimuth. In
// the azimuthal equidistant projection centred on the position every radial
// is a straight line from the origin and distances along it are true, so
// the first shoreline crossing of a radial is a ray meeting a segment in
// the plane. A lon/lat grid of cells holding the shoreline's segments lets
// a radial touch only the segments near it: the cells are walked outward
// along the radial until the first crossing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/coast/shoreline.hpp"

namespace coast {

// How the radials become one fetch.
//   spm:     9 radials 3 degrees apart (the wind direction and 12 degrees to
//            either side), their arithmetic mean (the Shore Protection
//            Manual's rule for a fetch of irregular shores).
//   saville: 15 radials 6 degrees apart (42 degrees to either side), each
//            weighted by the cosine of its angle to the wind:
//            sum R cos a / sum cos a (Saville's effective fetch, 1962).
//   line:    the one radial along the wind direction.
enum class Method { spm, saville, line };

struct MethodRadials {
  std::string_view name;  // "spm"
  int radials;            // 9
  double spacing_deg;     // 3
};

// The radials of a method:  radials_of(Method::saville) -> {"saville", 15, 6}
const MethodRadials& radials_of(Method m);
// The method of a name ("spm", "saville", "line"), or none.
std::optional<Method> method_named(std::string_view name);

// Radials that reach this far count as open water.
inline constexpr double kDefaultMaxFetchKm = 500;

// The query point lies on land: the message says so and names the data,
// "on land in GSHHG intermediate".
class OnLand : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A shoreline with its spatial index, built once and then only read (any
// number of threads may query one Coast at a time).
class Coast {
 public:
  // Takes the shoreline and indexes its segments. A segment is the straight
  // line between two points of a line (in longitude and latitude; segments
  // longer than 0.05 degrees are cut into pieces that short, so that each
  // piece is straight in any projection near it too). A segment whose ends
  // lie more than 180 degrees of longitude apart crosses the antimeridian.
  // When shore.level is empty, a point is land when it lies inside an odd
  // number of the closed lines (the even-odd rule over all rings, as a
  // user's land polygons with holes for lakes need).
  // cell_deg: the side of the grid's cells in degrees; 0 chooses one from
  // the number of segments (0.1 for millions, up to 1 for a few).
  // Throws BadData for a point outside [-90, 90] x [-180, 180] or not
  // finite, or for more segments than the index can count.
  explicit Coast(Shoreline shore, double cell_deg = 0);

  // The level at p (0 sea, 1 land, 2 lake, 3 island in a lake, 4 pond;
  // odd is land).
  int level(Point p) const;
  // The distance in km from p along the geodesic leaving at azimuth_deg
  // (degrees clockwise from true north) to the first shoreline crossing,
  // or none when there is none within max_km.
  //   a square lake of side 2a centred on p, north-aligned in p's
  //   azimuthal equidistant projection: first_crossing(p, 0, 500) -> a
  std::optional<double> first_crossing(Point p, double azimuth_deg,
                                       double max_km) const;

  // The data as messages name it: "GSHHG intermediate", or the file name.
  std::string name() const;
  const std::string& source() const { return source_; }
  const std::string& resolution() const { return resolution_; }
  std::size_t segments() const { return segment_count_; }
  double cell_deg() const { return cell_; }

 private:
  friend class Caster;
  // The construction's two steps: the lines copied into points_ (and
  // freed), then the grid of cells over them.
  void copy_lines(std::vector<std::vector<Point>>& lines);
  void build_index(double cell_deg);
  std::int64_t cell_of(int row, int col) const;
  int row_of(double lat) const;
  int col_of(double lon) const;
  bool inside_even_odd(Point p) const;

  std::vector<Point> points_;  // the lines one after another
  std::vector<bool> ends_;     // a point that ends its line starts no segment
  std::vector<std::uint32_t> start_;  // the first id of each cell, and one
  std::vector<std::uint32_t> ids_;    // segments by cell (first point's index)
  std::size_t segment_count_ = 0;
  double cell_ = 1;
  int rows_ = 180, cols_ = 360;
  std::function<int(Point)> level_;
  std::string source_, resolution_;
};

// One radial of a fetch.
struct Radial {
  double azimuth_deg = 0;  // [0, 360), the direction it runs from the point
  double distance_km = 0;  // to the first shore, or the cap when open
  bool open = false;       // no shore within the cap
  Point end;               // where it ends: at the shore, or at the cap
};

// A fetch and the radials it was made of.
struct Fetch {
  double km = 0;
  bool open = false;  // every radial open: the fetch is at least km
  Method method = Method::spm;
  // Clockwise, from the wind direction less half the spread to the wind
  // direction plus it.
  std::vector<Radial> radials;
};

// The fetch at p for a wind blowing from from_deg (degrees true, the
// direction the wind comes from: the radials run that way, upwind), by
// method, each radial capped at max_km (> 0). Throws OnLand when p is on
// land (an odd level).
//   the square lake above, wind from north, line -> {a, false, line, ...}
//   open sea with no shore within 500 km, spm -> {500, true, spm, ...}
Fetch fetch(const Coast& coast, Point p, double from_deg,
            Method method = Method::spm, double max_km = kDefaultMaxFetchKm);

}  // namespace coast

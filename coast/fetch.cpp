#include "morvelstandrik/coast/fetch.hpp"

#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>
#include <unordered_set>

namespace coast {
namespace {

constexpr std::array<MethodRadials, 3> kMethods = {{
    {"spm", 9, 3},
    {"saville", 15, 6},
    {"line", 1, 0},
}};

// Segments longer than this (in degrees of longitude or latitude) are cut
// into pieces, so that a piece is straight in the projection of any point
// near it and lies in the cells its ends lie in or between.
constexpr double kPieceDeg = 0.05;
// How far (degrees of latitude) beyond the straight lon/lat path between
// two samples of a radial the cells are searched: the radial bows out
// between its samples, and a piece is straight in the projection but not
// exactly in longitude and latitude.
constexpr double kMarginDeg = 0.02;
// Above this latitude a radial's step searches whole rows of cells up to
// the pole: there a short way may cross many meridians.
constexpr double kPolarLat = 89.0;
constexpr double kKmPerDeg = 111.0;

// A longitude brought into [-180, 180]; 180 stays 180, so that the piece
// of a ring that closes along the antimeridian stays on its side.
double wrapped(double lon) {
  if (lon > 180) return lon - 360;
  if (lon < -180) return lon + 360;
  return lon;
}

// b's longitude taken within 180 degrees of a's, so that a - b is the short
// way round.
double near(double a, double b) {
  return a + std::remainder(b - a, 360.0);
}

double azimuth(double deg) {
  const double a = std::fmod(deg, 360.0);
  return a < 0 ? a + 360 : a;
}

void check(Point p) {
  if (!(p.lat >= -90 && p.lat <= 90 && p.lon >= -180 && p.lon <= 180)) {
    throw BadData("a shoreline point lies outside -90..90, -180..180");
  }
}

// The pieces a segment is cut into, each at most kPieceDeg across: 1 for
// a short one.
int pieces(Point a, Point b) {
  const double lon_b = near(a.lon, b.lon);
  const double span =
      std::max(std::abs(b.lat - a.lat), std::abs(lon_b - a.lon));
  return std::max(1, static_cast<int>(std::ceil(span / kPieceDeg)));
}

}  // namespace

const MethodRadials& radials_of(Method m) {
  return kMethods[static_cast<std::size_t>(m)];
}

std::optional<Method> method_named(std::string_view name) {
  for (std::size_t i = 0; i < kMethods.size(); ++i) {
    if (kMethods[i].name == name) return static_cast<Method>(i);
  }
  return std::nullopt;
}

Coast::Coast(Shoreline shore, double cell_deg)
    : level_(std::move(shore.level)),
      source_(std::move(shore.source)),
      resolution_(std::move(shore.resolution)) {
  copy_lines(shore.lines);
  build_index(cell_deg);
}

// The lines one after another, long segments cut into pieces. The room is
// counted first: grown by doubling, the copy of a full-resolution
// shoreline would for a moment take three times its size.
void Coast::copy_lines(std::vector<std::vector<Point>>& lines) {
  std::size_t room = 0;
  for (const std::vector<Point>& line : lines) {
    if (line.empty()) continue;
    room += 1;
    for (std::size_t i = 1; i < line.size(); ++i) {
      room += std::isfinite(line[i].lat) && std::isfinite(line[i].lon) &&
                      std::isfinite(line[i - 1].lat) &&
                      std::isfinite(line[i - 1].lon)
                  ? static_cast<std::size_t>(pieces(line[i - 1], line[i]))
                  : 1;
    }
  }
  points_.reserve(room);
  ends_.reserve(room);
  constexpr std::size_t kTrimEvery = std::size_t{1} << 20;  // points
  std::size_t given_back = 0;
  for (std::vector<Point>& line : lines) {
    if (line.empty()) continue;
    const std::size_t room_of_line = line.size();
    check(line.front());
    points_.push_back(line.front());
    ends_.push_back(false);
    for (std::size_t i = 1; i < line.size(); ++i) {
      const Point a = line[i - 1];
      const Point b = line[i];
      check(b);
      const double lon_b = near(a.lon, b.lon);
      const int n = pieces(a, b);
      for (int k = 1; k < n; ++k) {
        const double f = static_cast<double>(k) / n;
        points_.push_back({a.lat + f * (b.lat - a.lat),
                           wrapped(a.lon + f * (lon_b - a.lon))});
        ends_.push_back(false);
      }
      points_.push_back(b);
      ends_.push_back(false);
    }
    ends_.back() = true;
    std::vector<Point>().swap(line);  // copied: its memory goes now
    given_back += room_of_line;
    if (given_back > kTrimEvery) {
      // The freed lines are small blocks that stay with the process until
      // the allocator is asked to give them back; without this a shoreline
      // of ten million points is held twice over while it is copied.
      given_back = 0;
#ifdef __GLIBC__
      malloc_trim(0);
#endif
    }
  }
  if (points_.size() >= std::numeric_limits<std::uint32_t>::max()) {
    throw BadData("the shoreline has more points than the index can count");
  }
  for (const bool e : ends_) segment_count_ += e ? 0 : 1;
}

// Each segment goes into every cell its lon/lat box touches; two passes,
// counting then filling.
void Coast::build_index(double cell_deg) {
  if (cell_deg <= 0) {
    cell_deg = segment_count_ > 300000  ? 0.1
               : segment_count_ > 30000 ? 0.25
               : segment_count_ > 3000  ? 0.5
                                        : 1.0;
  }
  cell_ = cell_deg;
  cols_ = std::max(1, static_cast<int>(std::ceil(360 / cell_)));
  rows_ = std::max(1, static_cast<int>(std::ceil(180 / cell_)));
  const auto cells_of = [&](std::size_t i, auto&& each) {
    const Point a = points_[i];
    const Point b = points_[i + 1];
    const double lon_b = near(a.lon, b.lon);
    const int r0 = row_of(std::min(a.lat, b.lat));
    const int r1 = row_of(std::max(a.lat, b.lat));
    const int c0 =
        static_cast<int>(std::floor((std::min(a.lon, lon_b) + 180) / cell_));
    const int c1 =
        static_cast<int>(std::floor((std::max(a.lon, lon_b) + 180) / cell_));
    for (int r = r0; r <= r1; ++r) {
      for (int c = c0; c <= c1; ++c) each(cell_of(r, c));
    }
  };
  const std::size_t cells =
      static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_);
  std::vector<std::uint32_t> count(cells + 1, 0);
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    if (ends_[i]) continue;
    cells_of(i, [&](std::int64_t c) { ++count[static_cast<std::size_t>(c)]; });
  }
  std::uint64_t total = 0;
  start_.resize(cells + 1);
  for (std::size_t c = 0; c < cells; ++c) {
    start_[c] = static_cast<std::uint32_t>(total);
    total += count[c];
    if (total >= std::numeric_limits<std::uint32_t>::max()) {
      throw BadData("the shoreline has more segments than the index can hold");
    }
  }
  start_[cells] = static_cast<std::uint32_t>(total);
  ids_.resize(total);
  // The counts become each cell's next free place.
  std::copy(start_.begin(), start_.end() - 1, count.begin());
  for (std::size_t i = 0; i + 1 < points_.size(); ++i) {
    if (ends_[i]) continue;
    cells_of(i, [&](std::int64_t c) {
      ids_[count[static_cast<std::size_t>(c)]++] =
          static_cast<std::uint32_t>(i);
    });
  }
}

int Coast::row_of(double lat) const {
  const int r = static_cast<int>(std::floor((lat + 90) / cell_));
  return std::clamp(r, 0, rows_ - 1);
}

int Coast::col_of(double lon) const {
  const int c = static_cast<int>(std::floor((lon + 180) / cell_));
  return ((c % cols_) + cols_) % cols_;
}

std::int64_t Coast::cell_of(int row, int col) const {
  const int c = ((col % cols_) + cols_) % cols_;
  return static_cast<std::int64_t>(row) * cols_ + c;
}

std::string Coast::name() const {
  return resolution_.empty() ? source_ : source_ + " " + resolution_;
}

// Even-odd: a ray from p due east, along its parallel up to the
// antimeridian, crosses the rings an odd number of times when p is inside.
bool Coast::inside_even_odd(Point p) const {
  const int row = row_of(p.lat);
  std::vector<std::uint32_t> seen;
  // The cells east of p, and the first column, which holds the segments
  // on the meridian 180 too.
  for (int c = col_of(p.lon); c <= cols_; ++c) {
    const auto cell = static_cast<std::size_t>(cell_of(row, c));
    seen.insert(seen.end(), ids_.begin() + start_[cell],
                ids_.begin() + start_[cell + 1]);
  }
  std::sort(seen.begin(), seen.end());
  seen.erase(std::unique(seen.begin(), seen.end()), seen.end());
  bool inside = false;
  for (const std::uint32_t i : seen) {
    const Point a = points_[i];
    const Point b = points_[i + 1];
    if ((a.lat > p.lat) == (b.lat > p.lat)) continue;
    const double lon_b = near(a.lon, b.lon);
    double x = a.lon + (p.lat - a.lat) / (b.lat - a.lat) * (lon_b - a.lon);
    // A ring cut at the antimeridian closes along 180: east of every point.
    if (x > 180) x -= 360;
    if (x < -180) x += 360;
    if (x > p.lon) inside = !inside;
  }
  return inside;
}

int Coast::level(Point p) const {
  if (level_) return level_(p);
  return inside_even_odd(p) ? land : sea;
}

// The radials of one point: its projection, and the segment ends already
// projected (neighbouring radials meet the same segments).
class Caster {
 public:
  Caster(const Coast& coast, Point p)
      : coast_(coast),
        p_(p),
        geodesic_(GeographicLib::Geodesic::WGS84()),
        projection_(geodesic_) {}

  // The distance in metres to the first crossing within max_m, or none.
  std::optional<double> cast(double azimuth_deg, double max_m) {
    const double az = azimuth_deg * (std::numbers::pi / 180);
    plane(azimuth_deg, max_m);
    const double dx = std::sin(az);
    const double dy = std::cos(az);
    const GeographicLib::GeodesicLine line = geodesic_.Line(
        p_.lat, p_.lon, azimuth_deg,
        GeographicLib::Geodesic::LATITUDE | GeographicLib::Geodesic::LONGITUDE |
            GeographicLib::Geodesic::DISTANCE_IN);
    const double step = std::max(coast_.cell_ * kKmPerDeg * 500.0, 500.0);
    double best = std::numeric_limits<double>::infinity();
    Point prev = p_;
    visited_.clear();
    whole_rows_.assign(static_cast<std::size_t>(coast_.rows_), false);
    for (double s = step;; s += step) {
      const double at = std::min(s, max_m);
      Point next;
      line.Position(at, next.lat, next.lon);
      visit(prev, next, [&](std::uint32_t i) {
        const double t = hit(i, dx, dy);
        if (t > 0 && t < best) best = t;
      });
      if (best <= at || at >= max_m) break;
      prev = next;
    }
    if (best <= max_m) return best;
    return std::nullopt;
  }

 private:
  struct Xy {
    double x, y;
  };

  Xy projected(std::uint32_t i) {
    const auto found = projected_.find(i);
    if (found != projected_.end()) return found->second;
    Xy q{};
    const Point pt = coast_.points_[i];
    projection_.Forward(p_.lat, p_.lon, pt.lat, pt.lon, q.x, q.y);
    projected_.emplace(i, q);
    return q;
  }

  // The plane of the great circle through the point and the radial's end,
  // with longitude and latitude taken as spherical: a radial strays from
  // it by 16 m in 500 km and 1.7 km in 5000 km, and a segment whose ends
  // both lie farther than that from it on one side cannot meet the radial.
  // Testing this first spares most segments their projection.
  void plane(double azimuth_deg, double max_m) {
    Point end;
    geodesic_.Direct(p_.lat, p_.lon, azimuth_deg, max_m, end.lat, end.lon);
    const Unit a = unit(p_);
    const Unit b = unit(end);
    normal_ = {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z,
               a.x * b.y - a.y * b.x};
    const double n = std::sqrt(normal_.x * normal_.x + normal_.y * normal_.y +
                               normal_.z * normal_.z);
    const double km = max_m / 1000;
    margin_ = (0.5 + 1e-7 * km * km) / 6371.0;
    use_plane_ = n > 1e-9;
    if (use_plane_) {
      normal_.x /= n;
      normal_.y /= n;
      normal_.z /= n;
    }
  }

  struct Unit {
    double x, y, z;
  };
  static Unit unit(Point p) {
    const double lat = p.lat * (std::numbers::pi / 180);
    const double lon = p.lon * (std::numbers::pi / 180);
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon),
            std::sin(lat)};
  }
  double side(std::uint32_t i) const {
    const Unit u = unit(coast_.points_[i]);
    return normal_.x * u.x + normal_.y * u.y + normal_.z * u.z;
  }
  // Whether segment i lies wholly to one side of the radial's plane.
  bool aside(std::uint32_t i) const {
    if (!use_plane_) return false;
    const double a = side(i);
    const double b = side(i + 1);
    return (a > margin_ && b > margin_) || (a < -margin_ && b < -margin_);
  }

  // Where the ray from the origin along (dx, dy) meets segment i: the
  // distance along the ray in metres, or -1.
  double hit(std::uint32_t i, double dx, double dy) {
    if (aside(i)) return -1;
    const Xy a = projected(i);
    const Xy b = projected(i + 1);
    const double ex = b.x - a.x;
    const double ey = b.y - a.y;
    const double denom = dx * ey - dy * ex;
    if (denom == 0) return -1;  // parallel: its neighbours are met instead
    const double t = (a.x * ey - a.y * ex) / denom;
    const double u = (a.x * dy - a.y * dx) / denom;
    if (u < 0 || u > 1) return -1;
    return t > 1e-6 ? t : -1;
  }

  // Calls each(segment) for the segments in the cells about the way from a
  // to b (each cell once per radial).
  template <typename Each>
  void visit(Point a, Point b, Each&& each) {
    const Coast& c = coast_;
    double lat0 = std::min(a.lat, b.lat) - kMarginDeg;
    double lat1 = std::max(a.lat, b.lat) + kMarginDeg;
    const double lon_b = near(a.lon, b.lon);
    double lon0 = std::min(a.lon, lon_b);
    double lon1 = std::max(a.lon, lon_b);
    bool all_lons = false;
    if (lat1 > kPolarLat) {
      lat1 = 90;
      all_lons = true;
    }
    if (lat0 < -kPolarLat) {
      lat0 = -90;
      all_lons = true;
    }
    if (!all_lons) {
      const double widest = std::max(std::abs(lat0), std::abs(lat1));
      const double margin =
          kMarginDeg / std::cos(widest * (std::numbers::pi / 180));
      lon0 -= margin;
      lon1 += margin;
      all_lons = lon1 - lon0 >= 360;
    }
    int c0 = 0;
    int c1 = c.cols_ - 1;
    if (!all_lons) {
      c0 = static_cast<int>(std::floor((lon0 + 180) / c.cell_));
      c1 = static_cast<int>(std::floor((lon1 + 180) / c.cell_));
    }
    for (int r = c.row_of(lat0); r <= c.row_of(lat1); ++r) {
      // A whole row is walked once per radial: near a pole every step
      // asks for the rows about it.
      const auto row = static_cast<std::size_t>(r);
      if (whole_rows_[row]) continue;
      whole_rows_[row] = all_lons;
      for (int col = c0; col <= c1; ++col) {
        const std::int64_t cell = c.cell_of(r, col);
        if (!visited_.insert(cell).second) continue;
        const auto k = static_cast<std::size_t>(cell);
        for (std::uint32_t j = c.start_[k]; j < c.start_[k + 1]; ++j) {
          each(c.ids_[j]);
        }
      }
    }
  }

  const Coast& coast_;
  Point p_;
  const GeographicLib::Geodesic& geodesic_;
  GeographicLib::AzimuthalEquidistant projection_;
  std::unordered_map<std::uint32_t, Xy> projected_;
  Unit normal_{};
  double margin_ = 0;
  bool use_plane_ = false;
  std::unordered_set<std::int64_t> visited_;
  std::vector<bool> whole_rows_;  // rows walked across every column
};

std::optional<double> Coast::first_crossing(Point p, double azimuth_deg,
                                            double max_km) const {
  Caster caster(*this, p);
  const std::optional<double> m = caster.cast(azimuth_deg, max_km * 1000);
  if (!m) return std::nullopt;
  return *m / 1000;
}

Fetch fetch(const Coast& coast, Point p, double from_deg, Method method,
            double max_km) {
  if (coast.level(p) % 2 != 0) throw OnLand("on land in " + coast.name());
  const MethodRadials& m = radials_of(method);
  Fetch f;
  f.method = method;
  f.open = true;
  Caster caster(coast, p);
  const GeographicLib::Geodesic& geodesic = GeographicLib::Geodesic::WGS84();
  const int half = m.radials / 2;
  double sum = 0;
  double weights = 0;
  for (int k = -half; k <= half; ++k) {
    const double off = k * m.spacing_deg;
    Radial r;
    r.azimuth_deg = azimuth(from_deg + off);
    const std::optional<double> hit = caster.cast(r.azimuth_deg, max_km * 1000);
    r.open = !hit;
    r.distance_km = hit ? *hit / 1000 : max_km;
    geodesic.Direct(p.lat, p.lon, r.azimuth_deg, r.distance_km * 1000,
                    r.end.lat, r.end.lon);
    const double w = method == Method::saville
                         ? std::cos(off * (std::numbers::pi / 180))
                         : 1.0;
    sum += w * r.distance_km;
    weights += w;
    f.open = f.open && r.open;
    f.radials.push_back(r);
  }
  f.km = sum / weights;
  return f;
}

}  // namespace coast

#include "morvelstandrik/gshhg/gshhg.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "morvelstandrik/gshhg/binned.hpp"

namespace gshhg {
namespace {

using detail::Binned;
using detail::edge_units;

// Antarctica's grounding line: dropped for its ice front.
constexpr int grounding_line = 6;

// Consecutive edges of one piece, edge i joining points i and i + 1.
struct Run {
  std::uint32_t first = 0;
  std::uint16_t count = 0;
  std::uint8_t level = 0;
};

// What the level of a point is computed from. Within a tile, the region
// of level >= L is bounded by the level-L pieces and parts of the tile's
// sides. A point's level follows from the south-west corner's level and
// the parities of the level-L crossings along a path from that corner: up
// the west side (where a piece ending there is crossed) and then east along
// the point's latitude (where the pieces' edges are crossed). The crossing
// rule is half-open, as if the path ran an infinitesimal step north of the
// point, so that a path through a vertex counts once. The edges of a tile
// are sorted into horizontal bands so that a test reads only those near
// the point's latitude.
struct Index {
  double size = 0;  // degrees
  int columns = 0;
  int rows = 0;
  std::vector<std::uint16_t> x, y;
  std::vector<std::uint8_t> south_west;  // per tile: level at the corner
  std::vector<bool> loaded;              // per tile: its pieces were read
  std::vector<std::uint32_t> ends_at;    // per tile + 1: into west_ends
  std::vector<std::uint32_t> west_ends;  // level << 16 | y of a piece's end
  std::vector<std::uint32_t> bands_at;   // per tile + 1: into band_runs
  std::vector<std::uint32_t> band_runs;  // per band + 1: into runs
  std::vector<Run> runs;

  int level(coast::Point p) const;
};

// The band of a tile with BANDS bands that holds offset Y in [0, 65535].
int band_of(double y, std::uint32_t bands) {
  const double b = y * static_cast<double>(bands) / (edge_units + 1.0);
  return std::min(static_cast<int>(b), static_cast<int>(bands) - 1);
}

// The index of FILE's pieces, without their points, which the caller moves
// in once it has made the lines from them.
std::shared_ptr<Index> make_index(const Binned& file) {
  auto index = std::make_shared<Index>();
  Index& ix = *index;
  ix.size = file.minutes / 60.0;
  ix.columns = file.columns;
  ix.rows = file.rows;
  const std::size_t tiles = file.corners.size();
  ix.south_west.resize(tiles);
  ix.loaded = file.loaded;
  ix.ends_at.reserve(tiles + 1);
  ix.bands_at.reserve(tiles + 1);
  ix.band_runs.push_back(0);
  std::vector<std::vector<Run>> bands;
  for (std::size_t t = 0; t < tiles; ++t) {
    ix.south_west[t] =
        static_cast<std::uint8_t>(file.corner(t, detail::south_west));
    ix.ends_at.push_back(static_cast<std::uint32_t>(ix.west_ends.size()));
    ix.bands_at.push_back(static_cast<std::uint32_t>(ix.band_runs.size() - 1));
    const std::size_t first = file.first_piece[t];
    const std::size_t last = first + file.piece_count[t];
    std::size_t edges = 0;
    for (std::size_t i = first; i < last; ++i) {
      const detail::Piece& p = file.pieces[i];
      if (p.level == grounding_line) continue;
      edges += p.count - 1;
      const auto level = static_cast<std::uint32_t>(p.level) << 16;
      const std::size_t ends[2] = {p.first, p.first + p.count - 1};
      if (p.first_side != detail::closed)
        for (const std::size_t e : ends)
          if (file.x[e] == 0) ix.west_ends.push_back(level | file.y[e]);
    }
    if (edges == 0) continue;
    const auto n_bands = static_cast<std::uint32_t>(
        std::clamp<std::size_t>(edges / 32, 1, 1024));
    bands.assign(n_bands, {});
    for (std::size_t i = first; i < last; ++i) {
      const detail::Piece& p = file.pieces[i];
      if (p.level == grounding_line) continue;
      const auto level = static_cast<std::uint8_t>(p.level);
      for (std::uint32_t e = p.first; e + 1 < p.first + p.count; ++e) {
        const auto [lo, hi] = std::minmax(file.y[e], file.y[e + 1]);
        const int to = band_of(hi, n_bands);
        for (int b = band_of(lo, n_bands); b <= to; ++b) {
          std::vector<Run>& runs = bands[static_cast<std::size_t>(b)];
          if (!runs.empty() && runs.back().first + runs.back().count == e &&
              runs.back().count < UINT16_MAX)
            ++runs.back().count;
          else
            runs.push_back({e, 1, level});
        }
      }
    }
    for (const std::vector<Run>& runs : bands) {
      ix.runs.insert(ix.runs.end(), runs.begin(), runs.end());
      ix.band_runs.push_back(static_cast<std::uint32_t>(ix.runs.size()));
    }
  }
  ix.ends_at.push_back(static_cast<std::uint32_t>(ix.west_ends.size()));
  ix.bands_at.push_back(static_cast<std::uint32_t>(ix.band_runs.size() - 1));
  ix.runs.shrink_to_fit();
  ix.west_ends.shrink_to_fit();
  return index;
}

int Index::level(coast::Point p) const {
  if (!(p.lat >= -90 && p.lat <= 90))
    throw std::domain_error("latitude must lie between -90 and 90 degrees");
  if (!std::isfinite(p.lon))
    throw std::domain_error("longitude must be a finite number");
  // A point on a tile's side belongs to the tile north or east of it, so
  // that it lies on that tile's south or west side, where the path from
  // the south-west corner starts; the north pole to the top row.
  double lon = std::fmod(p.lon, 360.0);
  if (lon < 0) lon += 360;
  if (lon >= 360) lon -= 360;
  const int column = std::min(static_cast<int>(lon / size), columns - 1);
  const int from_south = static_cast<int>((p.lat + 90) / size);
  const int row = std::clamp(rows - 1 - from_south, 0, rows - 1);
  const double south = 90 - (row + 1) * size;
  const double units = edge_units;
  const double px =
      std::clamp((lon - column * size) / size * units, 0.0, units);
  const double py = std::clamp((p.lat - south) / size * units, 0.0, units);
  const std::size_t tile =
      static_cast<std::size_t>(row) * static_cast<std::size_t>(columns) +
      static_cast<std::size_t>(column);

  if (!loaded[tile])
    throw std::domain_error("the shorelines were not loaded this far out");

  unsigned parity = 0;  // bit L: level-L crossings are odd
  for (std::uint32_t i = ends_at[tile]; i < ends_at[tile + 1]; ++i)
    if ((west_ends[i] & 0xffff) <= py) parity ^= 1u << (west_ends[i] >> 16);
  const std::uint32_t n_bands = bands_at[tile + 1] - bands_at[tile];
  if (n_bands > 0) {
    const std::size_t band =
        bands_at[tile] + static_cast<std::uint32_t>(band_of(py, n_bands));
    for (std::uint32_t r = band_runs[band]; r < band_runs[band + 1]; ++r) {
      const Run run = runs[r];
      for (std::uint32_t e = run.first; e < run.first + run.count; ++e) {
        const double y1 = y[e];
        const double y2 = y[e + 1];
        if ((y1 > py) == (y2 > py)) continue;
        const double x1 = x[e];
        const double x2 = x[e + 1];
        if (x1 + (py - y1) * (x2 - x1) / (y2 - y1) < px)
          parity ^= 1u << run.level;
      }
    }
  }
  // The regions nest: pond within island within lake within land.
  const int corner = south_west[tile];
  for (int level = coast::pond; level >= coast::land; --level)
    if ((corner >= level) != (((parity >> level) & 1u) != 0)) return level;
  return coast::sea;
}

// The shoreline pieces in degrees, tiles east of 180 degrees shifted west
// by 360 so that every piece lies within [-180, 180].
std::vector<std::vector<coast::Point>> lines_of(const Binned& file) {
  const double size = file.minutes / 60.0;
  std::size_t kept = 0;
  for (const detail::Piece& p : file.pieces)
    if (p.level != grounding_line) ++kept;
  std::vector<std::vector<coast::Point>> lines;
  lines.reserve(kept);
  const std::size_t tiles = file.corners.size();
  for (std::size_t t = 0; t < tiles; ++t) {
    const auto row =
        static_cast<double>(t / static_cast<std::size_t>(file.columns));
    const auto column =
        static_cast<double>(t % static_cast<std::size_t>(file.columns));
    const double south = 90 - (row + 1) * size;
    double west = column * size;
    if (west >= 180) west -= 360;
    const std::size_t first = file.first_piece[t];
    for (std::size_t i = first; i < first + file.piece_count[t]; ++i) {
      const detail::Piece& p = file.pieces[i];
      if (p.level == grounding_line) continue;
      std::vector<coast::Point>& line = lines.emplace_back(p.count);
      for (std::uint32_t k = 0; k < p.count; ++k) {
        // Exact at the sides: 65535 * size / 65535 is size.
        line[k].lat = south + file.y[p.first + k] * size / edge_units;
        line[k].lon = west + file.x[p.first + k] * size / edge_units;
      }
    }
  }
  return lines;
}

const char* package_of(char resolution) {
  switch (resolution) {
    case 'h':
      return "gmt-gshhg-high";
    case 'f':
      return "gmt-gshhg-full";
    default:
      return "gmt-gshhg-low";
  }
}

std::string path_of(const std::string& directory, char resolution) {
  return directory + "/binned_GSHHS_" + resolution + ".nc";
}

bool installed(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Which tiles of a file at RESOLUTION overlap BOX, sides included.
std::vector<bool> tiles_in(const Box& box, char resolution) {
  const bool finite = std::isfinite(box.south) && std::isfinite(box.north) &&
                      std::isfinite(box.west) && std::isfinite(box.east);
  if (!finite || box.south < -90 || box.north > 90 || box.south > box.north)
    throw std::invalid_argument(
        "a box needs finite longitudes and latitudes in [-90, 90], its "
        "south no further north than its north");
  const double size = resolution == 'c'   ? 20
                      : resolution == 'l' ? 10
                      : resolution == 'i' ? 5
                      : resolution == 'h' ? 2
                                          : 1;
  const int columns = static_cast<int>(360 / size);
  const int rows = static_cast<int>(180 / size);
  double west = std::fmod(box.west, 360.0);
  if (west < 0) west += 360;
  double width = box.east - box.west;
  if (width < 0) width = std::fmod(width, 360.0) + 360;
  std::vector<bool> wanted(static_cast<std::size_t>(columns * rows));
  for (int row = 0; row < rows; ++row) {
    const double south = 90 - (row + 1) * size;
    if (south > box.north || south + size < box.south) continue;
    for (int column = 0; column < columns; ++column) {
      const double w = column * size;
      bool in = width >= 360;
      for (const double shift : {-360.0, 0.0, 360.0})
        in = in || (w + shift <= west + width && w + size + shift >= west);
      wanted[static_cast<std::size_t>(row * columns + column)] = in;
    }
  }
  return wanted;
}

// The shorelines of the tiles that overlap BOX, or of every tile.
coast::Shoreline load_tiles(char resolution, const std::string& directory,
                            const Box* box) {
  std::string name = resolution_name(resolution);
  const std::string path = path_of(directory, resolution);
  if (!installed(path))
    throw coast::BadData("GSHHG shorelines at " + name +
                         " resolution are not installed: " + path +
                         " is missing (Debian package " +
                         package_of(resolution) + ")");
  std::vector<bool> wanted;
  if (box) wanted = tiles_in(*box, resolution);
  Binned file = detail::read_binned(path, box ? &wanted : nullptr);
  coast::Shoreline s;
  // The index first: its scratch space is freed before the lines, the
  // bulk of the memory, are made.
  std::shared_ptr<Index> index = make_index(file);
  s.lines = lines_of(file);
  index->x = std::move(file.x);
  index->y = std::move(file.y);
  s.level = [index = std::shared_ptr<const Index>(std::move(index))](
                coast::Point p) { return index->level(p); };
  s.source = "GSHHG";
  s.resolution = std::move(name);
  return s;
}

}  // namespace

coast::Shoreline load(char resolution, const std::string& directory) {
  return load_tiles(resolution, directory, nullptr);
}

coast::Shoreline load_region(char resolution, const Box& box,
                             const std::string& directory) {
  return load_tiles(resolution, directory, &box);
}

std::string resolution_name(char resolution) {
  switch (resolution) {
    case 'c':
      return "crude";
    case 'l':
      return "low";
    case 'i':
      return "intermediate";
    case 'h':
      return "high";
    case 'f':
      return "full";
    default:
      throw std::invalid_argument(
          std::string("GSHHG resolution must be one of c, l, i, h, f, not '") +
          resolution + "'");
  }
}

char finest_installed(const std::string& directory) {
  for (const char r : {'f', 'h', 'i', 'l', 'c'})
    if (installed(path_of(directory, r))) return r;
  throw coast::BadData("no GSHHG shorelines in " + directory +
                       " (install the Debian package gmt-gshhg-low)");
}

}  // namespace gshhg

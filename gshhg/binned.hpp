// The contents of one binned GSHHG shoreline file, decoded and checked but
// not yet turned into lines of points. Used by load() and by the tests that
// check the decoding against itself.
//
// Layout of a file (netCDF-4), as read from its variables:
//   Bin_size_in_minutes, N_bins_in_360_longitude_range,
//   N_bins_in_180_degree_latitude_range, N_bins_in_file, N_segments_in_file,
//   N_points_in_file: one int each. Tiles ("bins") are numbered by rows from
//   the north pole down, each row eastwards from 0 degrees over 0-360;
//   the pieces are stored tile after tile, their points piece after piece.
//   Per tile: Id_of_first_segment_in_a_bin, N_segments_in_a_bin (short) and
//   Embedded_node_levels_in_a_bin (short): the levels at its four corners,
//   three bits each, north-west in bits 0-2, north-east 3-5, south-east
//   6-8, south-west 9-11 (for the ice-front Antarctica; the _ANT variant
//   is for the grounding line).
//   Per piece ("segment"): Embedded_npts_levels_exit_entry_for_a_segment:
//   point count << 9 | level << 6 | side of the first point << 3 | side of
//   the last point, sides 0 south, 1 east, 2 north, 3 west, 4 closed ring;
//   levels 1 land, 2 lake, 3 island in a lake, 4 pond, 6 Antarctica's
//   grounding line. Id_of_first_point_in_a_segment (int), Embedded_ANT_flag
//   (byte): 1 for pieces of the ice-front Antarctica alone.
//   Per point: Relative_longitude/latitude_from_SW_corner_of_bin: shorts
//   that mean 0-65535, in 1/65535 of the tile's side from its south-west
//   corner.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gshhg::detail {

// Sides of a tile as the file numbers them.
enum Side : int { south = 0, east = 1, north = 2, west = 3, closed = 4 };

// Corners of a tile, in the order of their bits in the packed levels.
enum Corner : int {
  north_west = 0,
  north_east = 1,
  south_east = 2,
  south_west = 3
};

// The top of the point offsets: the tile's east or north edge.
inline constexpr std::uint32_t edge_units = 65535;

// One piece of shoreline within its tile.
//   first, count: its points in Binned::x and Binned::y.
//   level: 1-4 as the levels of the shoreline model, 6 for a piece of
//          Antarctica's grounding line.
//   first_side, last_side: the tile sides its end points lie on; both
//          closed for a ring, whose last point repeats its first.
//   ice_front: a piece of Antarctica's ice front, absent from the
//          grounding-line version.
struct Piece {
  std::uint32_t first = 0;
  std::uint32_t count = 0;
  int level = 0;
  int first_side = closed;
  int last_side = closed;
  bool ice_front = false;
};

struct Binned {
  int minutes = 0;  // side of a tile in minutes of arc
  int columns = 0;  // tiles in a row, from 0 degrees east
  int rows = 0;     // rows of tiles, from the north pole down
  std::vector<std::uint32_t> first_piece;  // per tile: its pieces are
  std::vector<std::uint32_t> piece_count;  // pieces[first, first + count)
  std::vector<std::uint16_t> corners;      // per tile: packed corner levels
  std::vector<bool> loaded;  // per tile: its pieces were read (else none)
  std::vector<Piece> pieces;
  std::vector<std::uint16_t> x;  // eastwards from the tile's west edge
  std::vector<std::uint16_t> y;  // northwards from the tile's south edge

  // The level (0-4) at a corner of tile BIN, for the ice-front Antarctica.
  int corner(std::size_t bin, Corner c) const {
    return (corners[bin] >> (3 * c)) & 7;
  }
};

// Reads and checks PATH: the tiles and the pieces of every tile, or, with
// WANTED (a flag per tile), the points of the wanted tiles' pieces alone;
// the others get no pieces and loaded false. Every count and index is
// checked against the sizes of the arrays, every piece's ends against its
// sides and every level against its range; anything else throws
// coast::BadData naming PATH.
//   read_binned(".../binned_GSHHS_c.nc").minutes -> 1200  (20-degree tiles)
Binned read_binned(const std::string& path,
                   const std::vector<bool>* wanted = nullptr);

}  // namespace gshhg::detail

// The GSHHG shorelines as Debian ships them (packages gmt-gshhg-low, -high
// and -full): binned netCDF files, read into the shoreline model that the
// fetch computation uses.
//
// The files cut the globe into square tiles ("bins") of 20, 10, 5, 2 or 1
// degrees (crude to full) and every shoreline into pieces at the tile
// edges. The pieces are kept as they are, one line each, so two pieces that
// meet share their end point exactly. Longitudes are given in [-180, 180]:
// tiles east of 180 degrees are shifted by -360, so no piece crosses the
// antimeridian; pieces that meet there end at the same latitude, one at
// longitude 180 and the other at -180.
//
// Antarctica comes twice in the files, along its ice front and along its
// grounding line. Only the ice front is kept: for waves it is where the open
// water ends, and the ice shelves behind it count as land.
#pragma once

#include <string>

#include "morvelstandrik/coast/shoreline.hpp"

namespace gshhg {

// Where Debian installs the files.
inline const std::string default_directory = "/usr/share/gmt-gshhg";

// Reads DIRECTORY/binned_GSHHS_R.nc for resolution R, one of 'c' (crude),
// 'l' (low), 'i' (intermediate), 'h' (high) or 'f' (full).
//   lines:  every shoreline piece (sea coasts, lake shores, islands in
//           lakes, ponds), points in degrees; a piece lies within its tile.
//   level:  0 sea, 1 land, 2 lake, 3 island in a lake, 4 pond, at any
//           point; the longitude may be any finite number, the latitude
//           must lie in [-90, 90] (else std::domain_error). A point on a
//           shoreline gets one of the two levels it separates.
//   source: "GSHHG"; resolution: "crude", "low", ... as resolution_name.
// Throws std::invalid_argument for another resolution letter; BadData
// naming the Debian package when the file is missing, and naming the file
// when it is unreadable, truncated or not laid out as expected.
// Intermediate (460,000 points) loads in about 30 ms of processor time and
// 20 MB; full (10.6 million) in about 0.5 s and 240 MB, most of it the
// lines. A level test takes a microsecond or two.
//   load('i').level({46.45, 6.55})   -> 2  (Lake Geneva)
//   load('i').level({48.86, 2.35})   -> 1  (Paris)
//   load('i').level({45.0, -30.0})   -> 0  (North Atlantic)
coast::Shoreline load(char resolution,
                      const std::string& directory = default_directory);

// A region in degrees: from latitude south to north, and eastwards from
// longitude west to east (across the antimeridian when east < west; all
// around when east - west >= 360).
struct Box {
  double south = -90;
  double west = -180;
  double north = 90;
  double east = 180;
};

// As load, but only the tiles (1 to 20 degrees square) that overlap BOX
// are read: the lines are their pieces, and the level of a point in
// another tile throws std::domain_error. At full resolution a region of a
// few degrees loads in about 25 ms where the whole globe takes 0.5 s. Throws
// std::invalid_argument for a box with latitudes outside
// [-90, 90], south > north or a number that is not finite.
//   load_region('f', {54, 9, 56, 12}).level({54.5, 10.25}) -> 0 (Kiel Bight)
coast::Shoreline load_region(char resolution, const Box& box,
                             const std::string& directory = default_directory);

// The finest resolution whose file is in DIRECTORY: 'f' if the full
// shorelines are installed, else 'h', 'i', 'l', 'c'. Throws BadData naming
// gmt-gshhg-low when there is none.
//   finest_installed() -> 'f'  (with gmt-gshhg-full installed)
char finest_installed(const std::string& directory = default_directory);

// The name of a resolution letter: 'c' -> "crude", 'l' -> "low",
// 'i' -> "intermediate", 'h' -> "high", 'f' -> "full". Throws
// std::invalid_argument for any other letter.
std::string resolution_name(char resolution);

}  // namespace gshhg

// Positions and wind directions as sailors and engineers write them.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace geo {

// A position in degrees: latitude in [-90, 90], longitude in [-180, 180).
struct Position {
  double lat = 0;
  double lon = 0;
};

// What is wrong with a position or a direction, in words for people.
class BadInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a latitude and a longitude given apart: decimal degrees ("54.5",
// "-10.25") or degrees, minutes and seconds with hemisphere letters
// ("54d30.5N", "010°15.2'E", "10d15'12\"W"). With hemisphere letters the
// two may come in either order. The longitude is brought into [-180, 180).
// Throws BadInput for malformed text or a latitude outside [-90, 90].
//   parse_position("54d30.5N", "010°15.2'E") -> {54.508333, 10.253333}
//   parse_position("-33.9", "151.3")          -> {-33.9, 151.3}
Position parse_position(std::string_view lat, std::string_view lon);

// Reads "LAT,LON" (or the two separated by blanks), each as above.
//   parse_position("54.5,10.25") -> {54.5, 10.25}
Position parse_position(std::string_view both);

// Reads the direction the wind blows from: degrees true in [0, 360] (360
// is 0) or one of the 16 compass points N, NNE, NE, ENE, E, ..., NNW
// (upper or lower case). Throws BadInput otherwise.
//   parse_direction("225") -> 225;  parse_direction("WNW") -> 292.5
double parse_direction(std::string_view text);

}  // namespace geo

// The scripted benchmark session: wind-sea cycles over a spread of winds,
// durations, fetches, depths and currents, and swell passes over a spread of
// periods and heights, both as console input and as plain numbers.
#pragma once

#include <string>

namespace bench {

struct WindSeaCase {
  int wind, dura, fetch, depth, curr;
};
struct SwellCase {
  float period, height;
};

WindSeaCase wind_sea_case(int k);
SwellCase swell_case(int k);

// Console input for `cycles` wind-sea cycles followed by `passes` swell
// passes, ending at menu choice 0.
std::string session(int cycles, int passes);

}  // namespace bench

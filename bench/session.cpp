#include "morvelstandrik/bench/session.hpp"

#include <cstdio>

namespace bench {

WindSeaCase wind_sea_case(int k) {
  return {10 + k % 56, 1 + (k * 7) % 200, 1 + (k * 37) % 5000,
          1 + (k * 13) % 60, (k % 9) - 4};
}

SwellCase swell_case(int k) {
  return {4.0f + static_cast<float>(k % 17), 0.5f + 0.25f * (k % 40)};
}

std::string session(int cycles, int passes) {
  std::string in = "1\n\n";
  char line[96];
  for (int k = 0; k < cycles; ++k) {
    const WindSeaCase c = wind_sea_case(k);
    std::snprintf(line, sizeof line, "%d\n%d\n%d\n%d\n%d\n%s\n", c.wind, c.dura,
                  c.fetch, c.depth, c.curr, k + 1 < cycles ? "" : "q");
    in += line;
  }
  in += "2\n";
  for (int k = 0; k < passes; ++k) {
    const SwellCase c = swell_case(k);
    std::snprintf(line, sizeof line, "%g\n%g\n\n",
                  static_cast<double>(c.period), static_cast<double>(c.height));
    in += line;
  }
  in += "0\n0\n";
  return in;
}

}  // namespace bench

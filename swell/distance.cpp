#include "morvelstandrik/swell/distance.hpp"

#include <cstdint>

namespace swell {

namespace {

// Truncates dist to a multiple of step; dist lies in (0, 2^31).
float cut(float dist, std::int32_t step) {
  return static_cast<float>(step * (static_cast<std::int32_t>(dist) / step));
}

}  // namespace

float round_distance(float dist) {
  // A wind field 2^31 km or more away is far beyond the six-character field;
  // its whole-kilometre value would not fit a 32-bit integer.
  if (dist >= 2147483648.0f) return dist;
  // Each cut only lowers the value (a float below 2^31 stays below it), so
  // the later steps stay in range too.
  if (dist > 10.0f) dist = cut(dist, 10);
  if (dist > 100.0f) dist = cut(dist, 50);
  if (dist > 1000.0f) dist = cut(dist, 100);
  return dist;
}

}  // namespace swell

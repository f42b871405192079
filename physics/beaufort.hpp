#pragma once

#include <cstdint>

namespace physics {

// Beaufort number of a wind speed in knots (0 and above): the integer part
// of 0.726 * v^0.665 + 0.5.
//   beaufort(20) -> 5, beaufort(24) -> 6, beaufort(30.49) -> 7,
//   beaufort(50) -> 10
std::int32_t beaufort(float knots);

}  // namespace physics

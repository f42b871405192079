#pragma once

#include <cstdint>

#include "morvelstandrik/physics/com2.hpp"
#include "morvelstandrik/physics/heicor.hpp"

namespace physics {

struct ShoalResult {
  float hs2;         // height in the target state, m, or no_height
  float wlen2;       // wave length in the target state, m
  std::int32_t ier;  // 0 regular, 1 breaking limit exceeded, 3 no wave number
};

// Carries a deep-water sea (period tper0 in s, height hs0 in m, generated in
// 5000 m without current) into water of the given depth (m) and current
// (knots, positive with the waves). The period is kept; the height follows
// from the height correction, the length from the target wave number,
// limited to at most 1.0 rad/m (so never shorter than 2 pi m ~ 6.28 m;
// the solver's longest wave is 2099.79 m).
//   curwav(9.81, 10, 0, 5.24, 1.88) -> hs2 ~ 1.75 m, wlen2 ~ 39.48 m, ier 0
// With ier 3 the height is no_height and the length that of the solver's
// best grid point. Afterwards com2 holds gravity, the target depth and the
// target current in m/s.
ShoalResult curwav(float g, float depth, float curr, float tper0, float hs0,
                   Com2& com2, SelfCheck& check);

}  // namespace physics

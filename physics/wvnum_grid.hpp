// The grid of trial wave lengths that the wave-number solver scans, shared
// by the solver and the literal scan it is held to.
#pragma once

#include <cstdint>

#include "morvelstandrik/physics/float_math.hpp"

namespace physics::wvnum_grid {

// Grid points i = 1..nz, from short to long waves: a wave length of i steps
// of dw = wlmx / (nz + 1), raised to wlmin where shorter.
inline constexpr std::int32_t nz = 10000;  // grid points
inline constexpr float wlmx = 2100.0f;  // wave length that bounds the grid, m
inline constexpr float wlmin = 1.0f;    // shortest trial wave length, m
inline constexpr float dw = wlmx / static_cast<float>(nz + 1);  // step, m

// Wave number (rad/m) of grid point i (1..nz), formed in float as
// (pi + pi) / max(i * dw, wlmin). Points 1 to 4 all try the 1 m wave:
//   ak(1) = ak(4) = 2 pi ~ 6.2832;  ak(5) ~ 5.9846 (1.05 m);
//   ak(10000) ~ 0.0029923 (2099.79 m)
constexpr float ak(std::int32_t i) {
  float wl = static_cast<float>(i) * dw;
  if (wl < wlmin) wl = wlmin;
  return (pi + pi) / wl;
}

}  // namespace physics::wvnum_grid

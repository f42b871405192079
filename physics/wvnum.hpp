#pragma once

#include <cstdint>

#include "morvelstandrik/physics/com2.hpp"

namespace physics {

struct Dispersion {
  float v1;  // intrinsic frequency the Doppler shift demands, rad/s
  float v2;  // intrinsic frequency of linear waves of this wave number, rad/s
  float dv;  // residual v2 - v1, rad/s
};

// Dispersion residual of a wave of absolute angular frequency omeg (rad/s)
// and trial wave number ak (rad/m) in the environment of com2:
//   v1 = omeg - ak * curms,  v2 = sqrt(gravc * ak * tanh(ak * depthc)).
//   kdisper(1, 0.5, {0, 9.81, 5000}) -> v1 = 1, v2 = sqrt(4.905) ~ 2.2147
Dispersion kdisper(float omeg, float ak, const Com2& com2);

struct WaveNumber {
  float ak;          // wave number, rad/m
  std::int32_t ier;  // 0 root found, 2 no sign change in the scanned range
};

// Wave number of a wave of period tper0 (s) in water of the given depth (m)
// that runs with the current curr (knots, positive along the waves), by the
// linear dispersion relation with Doppler shift. Scans 10000 wave lengths
// from 1 m to about 2100 m in steps of 2100/10001 m and returns the grid
// point just past the last sign change of the residual: the longest-wave
// root, at most one step long. With no sign change (waves blocked by an
// opposing current, or longer than the range) ier is 2 and ak is the grid
// point of smallest residual.
//   wvnum(9.81, 8.78, 0, 5000) -> ier 0, ak ~ 0.05213 (120.53 m)
// Overwrites all three fields of com2 (gravity, depth, current in m/s), which
// keep those values after return.
//
// The answer is the scan's to the bit, found without forming every grid
// point. Why the bits are the same: at grid point i the float residual r
// lies within a rounding bound E of R(k) = sqrt(g k tanh(k d)) - omeg + c k,
// the real residual at the grid's float wave number k, and R is concave in
// k (linear waves disperse normally at any depth), so it has at most two
// roots, and over a stretch of grid points the chord and the end tangents
// bound it. The scan's result depends only on which points have r below 0,
// which neighbours have r * r' at or below 0 (also when that product
// underflows), and the first point of smallest |r|. A stretch is passed
// over only when its bounds, widened by E, prove it holds no such point
// (a sign certain with |r| >= 2^-60, or |r| above the best found); every
// other point is formed with the scan's own float steps. E assumes the
// C library's tanh within 2^-40 in double and, rounded to float, within two
// float roundings and exactly 1 from 9.5 on (tested over every float).
// Non-finite or non-positive gravity, period or depth, and extremes of
// them and of the current (beyond 2^20, 2^40 or below 2^-20) use the
// literal scan, as does any input where rounding blurs the residual over
// long stretches so that the search would cost more than the scan.
WaveNumber wvnum(float grav, float tper0, float curr, float depth, Com2& com2);

}  // namespace physics

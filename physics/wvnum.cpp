#include "morvelstandrik/physics/wvnum.hpp"

#include <cmath>

#include "morvelstandrik/physics/float_math.hpp"

namespace physics {
namespace {

constexpr std::int32_t nz = 10000;  // grid steps
constexpr float wlmx = 2100.0f;     // wave length that bounds the grid, m

// Wave number of grid point i: a wave length of i steps, at least 1 m.
float grid_ak(std::int32_t i, float dw) {
  float wl = static_cast<float>(i) * dw;
  if (wl < 1.0f) wl = 1.0f;
  return (pi + pi) / wl;
}

}  // namespace

Dispersion kdisper(float omeg, float ak, const Com2& com2) {
  const float v1 = omeg - ak * com2.curms;
  const float ttan = dtanh(ak * com2.depthc);
  const float v2 = dsqrt(com2.gravc * ak * ttan);
  return {v1, v2, v2 - v1};
}

WaveNumber wvnum(float grav, float tper0, float curr, float depth, Com2& com2) {
  constexpr float qktms = 0.5144445f;  // knots to m/s, 1852/3600

  const float omeg = (pi + pi) / tper0;
  com2.gravc = grav;
  com2.depthc = depth;
  com2.curms = curr * qktms;

  float rmin = 9999.9f;
  float restx = rmin;
  // The wave numbers akmin and akx are kept as grid indices and formed from
  // them at the end, which gives the same values: akmin starts at point 1
  // (2 pi, the 1 m wave), akx at none (-1.0).
  std::int32_t i_akmin = 1;
  std::int32_t i_akx = 0;
  const float dw = wlmx / static_cast<float>(nz + 1);
  std::int32_t ier = 2;
  std::int32_t isold = 0;

  // Short to long waves, every step: the last sign change is the
  // longest-wave root, taken at the grid point past it. The residuals of a
  // block of grid points are formed first and judged after, so that the
  // library calls run back to back with little held across them; they read
  // a local copy of the record, which those calls cannot touch.
  const Com2 env = com2;
  constexpr std::int32_t block = 100;  // divides nz
  for (std::int32_t first = 1; first <= nz; first += block) {
    float rests[block];
    for (std::int32_t j = 0; j < block; ++j) {
      rests[j] = kdisper(omeg, grid_ak(first + j, dw), env).dv;
    }
    if (first == 1) {  // the first grid point is its own predecessor
      restx = rests[0];
      isold = restx < 0.0f ? -1 : 1;
    }
    for (std::int32_t j = 0; j < block; ++j) {
      const float rest = rests[j];
      if (rest * restx <= 0.0f) i_akx = first + j;
      restx = rest;
      if (std::fabs(rest) < rmin) {
        rmin = std::fabs(rest);
        i_akmin = first + j;
      }
      const std::int32_t is = rest < 0.0f ? -1 : 1;
      if (isold != is) ier = 0;
      isold = is;
    }
  }

  const float akmin = grid_ak(i_akmin, dw);
  float ak = i_akx > 0 ? grid_ak(i_akx, dw) : -1.0f;
  if (ak <= 0.0f) ak = akmin;
  if (ier != 0) ak = akmin;
  return {ak, ier};
}

}  // namespace physics

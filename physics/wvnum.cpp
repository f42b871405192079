#include "physics/wvnum.hpp"

#include <cmath>

#include "physics/float_math.hpp"

namespace physics {

Dispersion kdisper(float omeg, float ak, const Com2& com2) {
  const float v1 = omeg - ak * com2.curms;
  const float ttan = dtanh(ak * com2.depthc);
  const float v2 = dsqrt(com2.gravc * ak * ttan);
  return {v1, v2, v2 - v1};
}

WaveNumber wvnum(float grav, float tper0, float curr, float depth, Com2& com2) {
  constexpr float qktms = 0.5144445f;  // knots to m/s, 1852/3600
  constexpr std::int32_t nz = 10000;
  constexpr float wlmx = 2100.0f;

  const float omeg = (pi + pi) / tper0;
  com2.gravc = grav;
  com2.depthc = depth;
  com2.curms = curr * qktms;

  float rmin = 9999.9f;
  float restx = rmin;
  float akmin = pi + pi;
  float akx = -1.0f;
  const float dw = wlmx / static_cast<float>(nz + 1);
  std::int32_t ier = 2;
  std::int32_t isold = 0;

  // Short to long waves, every step: the last sign change is the
  // longest-wave root, taken at the grid point past it.
  for (std::int32_t i = 1; i <= nz; ++i) {
    float wl = static_cast<float>(i) * dw;
    if (wl < 1.0f) wl = 1.0f;
    const float ak = (pi + pi) / wl;
    const float rest = kdisper(omeg, ak, com2).dv;
    if (i == 1) restx = rest;
    if (rest * restx <= 0.0f) akx = ak;
    restx = rest;
    if (std::fabs(rest) < rmin) {
      rmin = std::fabs(rest);
      akmin = ak;
    }
    const std::int32_t is = rest < 0.0f ? -1 : 1;
    if (i == 1) isold = is;
    if (isold != is) ier = 0;
    isold = is;
  }

  float ak = akx;
  if (ak <= 0.0f) ak = akmin;
  if (ier != 0) ak = akmin;
  return {ak, ier};
}

}  // namespace physics

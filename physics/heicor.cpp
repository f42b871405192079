#include "morvelstandrik/physics/heicor.hpp"

#include <cmath>

#include "morvelstandrik/physics/float_math.hpp"

namespace physics {

float heicor(float g, float depth0, float depth, float curr, float ak0,
             float ak, float he0, std::int32_t& ier, Com2& com2,
             SelfCheck& check) {
  // Multiplied by 1852 and divided by 3600 here, while the solver scales by
  // 0.5144445: the two round differently for most currents, and the record
  // keeps this one after the correction.
  com2.curms = curr * 1852.0f / 3600.0f;
  const float curms = com2.curms;
  // Without a wave number in the target state there is no height, and the
  // sea counts as breaking: 2 becomes 3.
  if (ier != 0) {
    ier = ier + 1;
    return no_height;
  }
  const float wavel = (pi + pi) / ak;
  const float ttan0 = dtanh(ak0 * depth0);
  const float omegr0 = dsqrt(g * ak0 * ttan0);
  const float ttan = dtanh(ak * depth);
  const float omegr2 = dsqrt(g * ak * ttan);

  // Intrinsic group velocities, the derivative of the dispersion relation.
  // The reference state has no current, so vgr0 is also its absolute group
  // velocity.
  const float vgr0 =
      0.5f * (g * ttan0 + g * ak0 * (1.0f - ttan0 * ttan0) * depth0) / omegr0;
  const float vgr2 =
      0.5f * (g * ttan + g * ak * (1.0f - ttan * ttan) * depth) / omegr2;
  const float vg2 = vgr2 + curms;

  // The same group velocity as phase speed times n; in deep water the
  // hyperbolic sine overflows and the depth term vanishes.
  const float kd2 = 2.0f * ak * depth;
  const float cgr2 = 0.5f * (omegr2 / ak) * (1.0f + kd2 / dsinh(kd2));
  if (std::fabs(vgr2 - cgr2) > 0.01f) {
    check.group_velocity_mismatch(vgr2, cgr2);
  }

  // Wave-action flux E * vg / omega is conserved, E ~ height^2. The radicand
  // is formed in double so that an unchanged state gives exactly he0.
  const double radicand =
      (static_cast<double>(vgr0) / static_cast<double>(omegr0)) *
      (static_cast<double>(omegr2) / static_cast<double>(vg2));
  float he2 = he0 * static_cast<float>(std::sqrt(radicand));

  // Breaking: a steepness he2 / wavel above 0.14 tanh(k d), or a height
  // above 0.88 of the depth, both measured on he2 / (wavel tanh(k d)).
  const float brk = he2 / (wavel * ttan);
  const float bc1 = 0.14f;
  const float bc2 = 0.88f * depth / (wavel * ttan);
  if (brk > bc1 || brk > bc2) ier = 1;
  if (he2 > 5.0f * he0) he2 = no_height;
  return he2;
}

}  // namespace physics

#include "morvelstandrik/physics/curwav.hpp"

#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/wvnum.hpp"
#include "morvelstandrik/physics/wvnum_grid.hpp"

namespace physics {

// The solver always returns one of its grid points, and the longest of them
// (2099.79 m) has the smallest wave number, about 0.003 rad/m: a lower limit
// of 0.0005 rad/m (a 12566 m wave) on the reported length could never act.
static_assert(wvnum_grid::ak(wvnum_grid::nz) > 0.0005f);

ShoalResult curwav(float g, float depth, float curr, float tper0, float hs0,
                   Com2& com2, SelfCheck& check) {
  com2.gravc = g;
  // The wind sea is generated in deep water without current.
  const float curr0 = 0.0f;
  const float depth0 = 5000.0f;
  // The status of the reference search is not reported: periods from about
  // 0.8 s to 36.7 s have their deep-water root inside the scanned range.
  const float ak0 = wvnum(g, tper0, curr0, depth0, com2).ak;
  const WaveNumber target = wvnum(g, tper0, curr, depth, com2);

  float ak = target.ak;
  std::int32_t ier = target.ier;
  const float he0 = hs0;
  const float he2 =
      heicor(g, depth0, depth, curr, ak0, ak, he0, ier, com2, check);
  const float hs2 = he2;

  // The limit applies to the reported length only; the height correction
  // has used the wave number as found. Waves shorter than 2 pi m are
  // reported as 2 pi m.
  if (ak > 1.0f) ak = 1.0f;
  const float wlen2 = (pi + pi) / ak;
  return {hs2, wlen2, ier};
}

}  // namespace physics

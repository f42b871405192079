#include "morvelstandrik/physics/wvnum_reference.hpp"

#include <cmath>
#include <cstdint>

#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/wvnum_grid.hpp"

namespace physics {
namespace {

constexpr float qktms = 0.5144445f;
using wvnum_grid::nz;

// The scan's loop; ak_at(i) gives the trial wave number of step i and
// rest_at(i, ak) its residual. It is kept apart from the fast search's own
// literal fallback on purpose: this is the scan as its steps read, one grid
// point after the other with every rule in place, the oracle that the
// fast search is verified against bit for bit. Only the grid is shared.
template <class WaveNumberAt, class Residual>
WaveNumber scan(WaveNumberAt ak_at, Residual rest_at) {
  float rmin = 9999.9f;
  float restx = rmin;
  float akmin = pi + pi;
  float akx = -1.0f;
  std::int32_t ier = 2;
  std::int32_t isold = 0;
  for (std::int32_t i = 1; i <= nz; ++i) {
    const float ak = ak_at(i);
    const float rest = rest_at(i, ak);
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

}  // namespace

WaveNumber wvnum_literal(float grav, float tper0, float curr, float depth,
                         Com2& com2) {
  const float omeg = (pi + pi) / tper0;
  com2.gravc = grav;
  com2.depthc = depth;
  com2.curms = curr * qktms;
  return scan(
      [](std::int32_t i) { return wvnum_grid::ak(i); },
      [&](std::int32_t, float ak) { return kdisper(omeg, ak, com2).dv; });
}

LiteralWater::LiteralWater(float grav, float depth)
    : grav_(grav), depth_(depth), ak_(nz + 1), v2_(nz + 1) {
  const Com2 env{0.0f, grav, depth};
  for (std::int32_t i = 1; i <= nz; ++i) {
    const auto at = static_cast<std::size_t>(i);
    ak_[at] = wvnum_grid::ak(i);
    v2_[at] = kdisper(0.0f, ak_[at], env).v2;
  }
}

WaveNumber LiteralWater::scan(float tper0, float curr, Com2& com2) const {
  const float omeg = (pi + pi) / tper0;
  com2.gravc = grav_;
  com2.depthc = depth_;
  com2.curms = curr * qktms;
  const float curms = com2.curms;
  const float* ak = ak_.data();
  const float* v2 = v2_.data();
  // The wave numbers of the steps as formed above; kdisper's v1 and dv,
  // with its v2 of this water.
  return physics::scan([ak](std::int32_t i) { return ak[i]; },
                       [&](std::int32_t i, float k) {
                         const float v1 = omeg - k * curms;
                         return v2[i] - v1;
                       });
}

std::vector<Wave> seeded_waves(std::size_t n, std::uint64_t seed) {
  std::vector<Wave> waves;
  waves.reserve(n);
  std::uint64_t state = seed;
  auto unit = [&state] {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) * 0x1p-53;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const double tper0 = 0.5 + 44.5 * unit();
    const double curr = -15.0 + 30.0 * unit();
    const double depth =
        unit() < 0.5 ? 1.0 + 49.0 * unit() : 50.0 * std::pow(100.0, unit());
    waves.push_back({static_cast<float>(tper0), static_cast<float>(curr),
                     static_cast<float>(depth)});
  }
  return waves;
}

}  // namespace physics

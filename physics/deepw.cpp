#include "morvelstandrik/physics/deepw.hpp"

#include <cmath>

#include "morvelstandrik/physics/float_math.hpp"

namespace physics {
namespace {

constexpr float pt = 1.44f;   // exponent of the wind in the duration law
constexpr float pf = 1.15f;   // exponent of the wind in the fetch law
constexpr float ptc = 0.57f;  // exponent of the duration
constexpr float pfc = 0.44f;  // exponent of the fetch
constexpr float ph = 1.7f;    // sharpness of the saturation

// Saturates an unlimited growth height h1 smoothly towards the fully
// developed height: close to h1 while it is small, approaching hsinf from
// below when it is large. The quotient and the exponent 1/ph are formed in
// double.
float saturate(float h1, float hsinf) {
  const float q = static_cast<float>(
      std::pow(static_cast<double>(h1) / static_cast<double>(hsinf),
               static_cast<double>(ph)));
  const float t = dtanh(q);
  const float r = static_cast<float>(
      std::pow(static_cast<double>(t), 1.0 / static_cast<double>(ph)));
  return hsinf * r;
}

}  // namespace

DeepWater deepw(float wind, float dura, float fetch) {
  const float hsinf = 0.0059f * dpow(wind, 2.0f);
  // Calm: no wind raises no sea. The growth laws would divide 0 by 0 here;
  // their limit as the wind dies is no height and the floor period. A wind
  // so weak that hsinf underflows to 0 is as calm.
  if (wind <= 0.0f || hsinf == 0.0f) {
    return {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.56f, 0.0f, 0.0f};
  }
  const float ht0 = 0.008f * dpow(wind, pt);
  const float hf0 = 0.0089f * dpow(wind, pf);
  const float ht1 = ht0 * dpow(dura, ptc);
  const float hf1 = hf0 * dpow(fetch, pfc);
  const float ht = saturate(ht1, hsinf);
  const float hf = saturate(hf1, hsinf);
  const float hs = hf < ht ? hf : ht;

  // Period: the wind whose fully developed sea has this height gives the
  // period; a stronger actual wind shortens it, the part of the shortening
  // above 2 s damped to a fifth.
  const float winde = wind;
  const float hse = hs;
  const float windt = dpow(hse / 0.006f, 0.5f);
  const float ttheo = 0.31f * windt;
  const float dt0 = (winde - windt) / 9.0f;
  const float dt = dt0 > 2.0f ? 2.0f + (dt0 - 2.0f) / 5.0f : dt0;
  const float teff = ttheo - dt;
  const float tper0 = teff < 1.0f ? 1.0f : teff;
  const float wlen0 = 1.56f * dpow(tper0, 2.0f);
  return {hsinf, ht0, hf0, hs, tper0, wlen0, ht, hf};
}

}  // namespace physics

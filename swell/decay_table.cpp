#include "morvelstandrik/swell/decay_table.hpp"

#include <algorithm>
#include <cmath>

namespace swell {

float hswell(float s, std::int32_t i) {
  // Height coefficient per wind class.
  static constexpr float a[4] = {436.0f, 1403.0f, 3443.0f, 5673.0f};
  const float decay = static_cast<float>(
      std::pow(static_cast<double>(s), static_cast<double>(-2.7f)));
  return a[i - 1] * decay;
}

float dista(float s, std::int32_t i) {
  // Threshold period per wind class: a swell of this period or shorter has
  // not yet left the wind field.
  static constexpr float tzero[4] = {7.0f, 8.5f, 9.2f, 9.6f};
  const float t = std::max(s, tzero[i - 1]);
  const float travel = static_cast<float>(std::pow(
      static_cast<double>(t - tzero[i - 1]), static_cast<double>(1.236f)));
  return 280.0f * travel;
}

Inversion swelld(float period, float height) {
  // Wind speed (kt) per wind class.
  static constexpr std::int32_t nw[4] = {20, 30, 40, 50};
  const float s = period;
  const float h0 = height;

  const float hmin = hswell(s, 1);
  const float hmax = hswell(s, 4);
  if (h0 < hmin) return {static_cast<float>(nw[0]), dista(s, 1), 1};
  if (h0 > hmax) return {static_cast<float>(nw[3]), dista(s, 4), 2};

  // Lower bracket row: the last row whose height lies strictly below the
  // observed one; row 1 when the swell is exactly as high as row 1. Row 4
  // need not be asked: its height is hmax, and a swell higher than that
  // has already returned, so the bracket ends at rows 3 and 4 at most.
  std::int32_t ilow = 1;
  for (std::int32_t i = 1; i <= 3; ++i) {
    if (hswell(s, i) < h0) ilow = i;
  }
  const std::int32_t ihig = ilow + 1;
  const float h1 = hswell(s, ilow);
  const float h2 = hswell(s, ihig);
  const float d1 = dista(s, ilow);

  // At periods so long that every row height has vanished, a swell of height
  // 0 matches rows 1 and 2 alike: the whole weight goes on the lower row, as
  // for a swell exactly as high as row 1.  Returning the row's values
  // directly keeps an infinite distance from turning into inf * 0.
  if (h2 == h1) return {static_cast<float>(nw[ilow - 1]), d1, 0};

  const float g1 = (h2 - h0) / (h2 - h1);
  const float g2 = (h0 - h1) / (h2 - h1);
  const float d2 = dista(s, ihig);
  const float wind = static_cast<float>(nw[ilow - 1]) * g1 +
                     static_cast<float>(nw[ihig - 1]) * g2;
  const float dist = d1 * g1 + d2 * g2;
  return {wind, dist, 0};
}

}  // namespace swell

// Swell back-calculation: the swell-decay table and its inversion.
//
// The table has one row per wind class (20, 30, 40 and 50 kt).  At a given
// swell period each row gives the height of the swell that a wind field of
// that class leaves behind and the distance of such a field.  The inversion
// brackets an observed height between two neighbouring rows and interpolates
// the wind speed and the distance linearly.  No input or output, no state.
#pragma once

#include <cstdint>

namespace swell {

// Row height (m) of table row i (1..4) at the swell period s (s > 0):
// a(i) * s^-2.7, with a = 436, 1403, 3443, 5673.
// hswell(10, 2) -> 2.7994 m.  All rows give 0 once s^-2.7 underflows in
// single precision (s above about 5e16 s).
float hswell(float s, std::int32_t i);

// Row distance (km) of table row i (1..4) at the swell period s:
// 280 * (s - tzero(i))^1.236 above the threshold period tzero = 7.0, 8.5, 9.2,
// 9.6 s, and 0 at or below it.  dista(10, 1) -> 1088.63 km; dista(9.6, 4) -> 0.
float dista(float s, std::int32_t i);

// Result of one inversion: wind speed (kt), distance of the wind field (km)
// and the outcome code ier.
struct Inversion {
  float wind;
  float dist;
  std::int32_t ier;
};

// Infers the wind field that raised a swell of the given period (s, >= 0.1)
// and height (m, any value).
//   ier 0: the height lies within the table; wind (20..50 kt) and dist are
//          interpolated between the two rows that enclose it.
//   ier 1: lower than row 1 (also every height <= 0); wind 20 kt is an upper
//          bound, dist (row 1's distance) a lower bound.
//   ier 2: higher than row 4; wind 50 kt is a lower bound, dist (row 4's
//          distance) an upper bound.
// swelld(10, 3) -> {30.49, 449.87, 0}; swelld(10, 0.5) -> {20, 1088.63, 1}.
// Where every row height has vanished (very long periods) a height of 0 gets
// row 1's values with ier 0.
Inversion swelld(float period, float height);

}  // namespace swell

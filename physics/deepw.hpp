#pragma once

namespace physics {

struct DeepWater {
  float hsinf;  // fully developed height for this wind, m
  float ht0;    // duration growth coefficient: unsaturated height after 1 h, m
  float hf0;    // fetch growth coefficient: unsaturated height over 1 km, m
  float hs0;    // characteristic (significant) wave height, m
  float tper0;  // wave period, s (never below 1.0)
  float wlen0;  // deep-water wave length 1.56 * tper0^2, m
  float ht;     // height the duration allows, saturated, m
  float hf;     // height the fetch allows, saturated, m (hs0 is the smaller)
};

// Wind sea in deep water without current, from the wind speed (knots), the
// time it has blown (hours) and the fetch (km): the smaller of the
// duration-limited and fetch-limited heights, each saturated towards hsinf,
// and the period and length that go with it.
//   deepw(20, 10, 100) -> hs0 ~ 1.883 m, tper0 ~ 5.237 s, wlen0 ~ 42.78 m
//   deepw(1, 1, 1)     -> tper0 = 1.0 s exactly (raised to its floor), 1.56 m
// A wind of 0 or below (the wind relative to a current as fast as it) raises
// no sea: {0, 0, 0, 0, 1.0, 1.56, 0, 0}, the limit of the growth laws as the
// wind dies, instead of the 0/0 the laws would form.
DeepWater deepw(float wind, float dura, float fetch);

}  // namespace physics

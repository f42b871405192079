// The wind-sea evaluation: deep-water growth for the wind and for the wind
// relative to the water, carried into the given depth and current, with the
// report's derived values (steepness, stopping current, sea-sickness
// probability, warnings) and the development over the next hours. No
// console input or output here: the dialogue prints what these return.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "morvelstandrik/physics/com2.hpp"
#include "morvelstandrik/physics/heicor.hpp"

namespace windsea {

inline constexpr float pi = 3.1415927f;

// The inputs of one cycle, already clamped by the dialogue.
struct Inputs {
  float wind;          // knots, 1 to 70
  std::int32_t ibft;   // Beaufort number of wind
  float dura;          // hours
  float fetch;         // km
  float depth;         // m
  float curr;          // knots, positive with the wind
  std::int32_t model;  // 1: deep-water sea carried into depth and current;
                       // 0: sea raised by the wind relative to the water
  float g;             // m/s^2
};

// Results of one evaluation step.
struct Evaluation {
  float hs0, tper0, wlen0;     // deep water, raised by wind
  float winc;                  // wind relative to the water, knots
  float hs0c, tper0c, wlen0c;  // deep water, raised by winc
  float hs2, wlen2, tper2;     // the reported wave Hc, Lc, Tc
  std::int32_t ier;            // status of the shoal and current transform
  float stp0, stp2, ss0;       // deep, actual steepness and their ratio
};

// Runs the evaluation step for duration d (hours). In model 0 the reported
// wave is the relative-wind deep-water sea while ier still comes from the
// transform. com2 is left as the transform leaves it (target depth).
//   wind 20, d 10, fetch 100, depth 10, curr 0, model 1
//     -> hs0 ~ 1.883, tper0 ~ 5.237, hs2 ~ 1.744, wlen2 ~ 39.48, ier 0
Evaluation evaluate(const Inputs& in, float d, physics::Com2& com2,
                    physics::SelfCheck& check);

// The opposing current (knots, negative) that stops waves of period tper2:
// a quarter of their deep-water phase speed. 6 s -> about -4.55 kt.
float umax(float g, float tper2);

// Sea-sickness probability in percent, 0 to 90, from the reported height and
// period and the wind. hs2 2 m, tper2 6 s, wind 20 kt -> 18.
std::int32_t sea_sickness(float hs2, float tper2, float wind, float g);

// The warning lines of the report, in order, and whether the development
// table follows them.
struct Verdict {
  std::array<std::string_view, 3> lines{};
  int count = 0;
  bool table = false;
};

// Chooses the report's warnings from the inputs and the evaluation as the
// report shows it (wlen2 already 4999 when ier is above 1).
Verdict warnings(const Inputs& in, const Evaluation& e);

// The development table: for 3, 12 and 48 more hours of the same wind, the
// largest single wave among the waves of that time and the sea-scale number.
struct Development {
  std::array<std::int32_t, 3> mhrs{};   // hours beyond the entered duration
  std::array<std::int32_t, 3> mr{};     // number of waves within each horizon
  std::array<float, 3> hec{};           // characteristic height, m
  std::array<float, 3> hem{};           // Hmax, m (99999 when ier was > 1)
  std::array<std::int32_t, 3> iseas{};  // sea-scale number (9999999 likewise)
  std::int32_t nav = 0;                 // average number of waves per hour
};

// Evaluates the horizons for the report's evaluation `report` (its ier and
// tper0) with the cycle's inputs.
//   the 20 kt, 10 h, 100 km, 10 m sea -> nav 680, mr 2000 8200 32000,
//   Hmax about 3.4 3.7 4.0 m, sea scale 3 3 3
Development develop(const Inputs& in, const Evaluation& report,
                    physics::Com2& com2, physics::SelfCheck& check);

// Rounds a wave count down to 1000s above 10000, then 100s above 1000, then
// 10s above 100: 6967 -> 6900, 27428 -> 27000, 543 -> 540, 54 -> 54.
std::int32_t reduce_count(std::int32_t count);

// Sea-scale number of a characteristic height (m): 3 h^0.41 + 0.2, at most 9.
std::int32_t sea_scale(float hs);

}  // namespace windsea

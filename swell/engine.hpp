// The swell engine: from the period and height of an observed swell, the
// speed, Beaufort force and distance of the wind field that raised it.
// Plain numbers in, a structured result out; no console.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "morvelstandrik/fields/fields.hpp"

namespace swell {

// Where the observed height lies in the swell-decay table at its period.
enum class Outcome : std::uint8_t {
  kInside,  // between the 20 and 50 kt rows: wind and distance interpolated
  kBelow,   // lower than the 20 kt row: 20 kt is an upper bound of the wind,
            // the distance a lower bound
  kAbove,   // higher than the 50 kt row: 50 kt is a lower bound of the wind,
            // the distance an upper bound
};

// The periods the inversion accepts: at least this many seconds. Shorter
// ones end the swell dialogue.
inline constexpr float kShortestPeriod = 0.1f;

struct Field {
  float period;  // s, as observed
  float height;  // m, as observed
  Outcome outcome;
  float wind;             // knots
  std::int32_t beaufort;  // of wind
  float distance;         // km, as the inversion gives it
  float distance_shown;   // km, rounded down as the report shows it
};

// Infers the wind field behind a swell of period >= 0.1 s and any height.
//   (10, 3)   -> inside, 30.49 kt, Bft 7, 449.87 km, shown 400 km
//   (10, 0.5) -> below, 20 kt, Bft 5, 1088.63 km, shown 1000 km
//   (10, 12)  -> above, 50 kt, Bft 10, 90.22 km, shown 90 km
Field infer(float period, float height);

// The outcomes' stable names for machine-readable output, in the order of
// Outcome: "inside", "below", "above".
std::span<const fields::Coded> outcomes();
inline std::string_view code(Outcome o) {
  return outcomes()[static_cast<std::size_t>(o)].code;
}

// The fields of a result, in the order of the JSON members and the CSV
// columns: period_s, height_m, outcome, wind_kt, beaufort, distance_km,
// distance_shown_km.
void walk(fields::FieldVisitor& v, const Field& f);

}  // namespace swell

// The wind-sea engine: the model's input ranges, the evaluation of one sea
// state with its warnings, and the development over the next hours. Plain
// functions of numbers to a structured result: no console, no display
// markers. What the model cannot give is an empty optional; the report
// renderer decides how to show it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "morvelstandrik/fields/fields.hpp"

namespace windsea {

// Gravity of the wind-sea calculation, m/s^2.
inline constexpr float gravity = 9.81f;

// Which sea the report describes.
enum class Model : std::uint8_t {
  kDeepWater,     // raised in deep water without current, then carried into
                  // the given depth and current
  kRelativeWind,  // raised in deep water by the wind relative to the water
};

// A clamping that changed an entry, in the order the entries are limited.
enum class Note : std::uint8_t {
  kWindRaised,       // below 1 kt: used as 1 kt
  kWindCompressed,   // above 65 kt: 65 + 10 ln(wind / 65)
  kWindCapped,       // still above 70 kt after the compression: 70 kt
  kDurationRaised,   // below 1 h: 1 h
  kDurationLowered,  // above 200 h: 200 h
  kFetchRaised,      // below 1 km: 1 km
  kFetchLowered,     // above 5000 km: 5000 km
  kDepthRaised,      // below 1 m: 1 m
  kDepthLowered,     // above 5000 m: 5000 m
  kCurrentIgnored,   // above 1000 kt: a slip of the keyboard, taken as 0
  kCurrentLowered,   // above 15 kt: 15 kt
  kCurrentRaised,    // below -15 kt: -15 kt
};
inline constexpr int kNoteCount = 12;

// The notes that one limiting raised.
class Notes {
 public:
  void add(Note n) { bits_ |= 1u << static_cast<unsigned>(n); }
  bool has(Note n) const { return (bits_ >> static_cast<unsigned>(n)) & 1u; }
  bool empty() const { return bits_ == 0; }
  Notes& operator|=(Notes other) {
    bits_ |= other.bits_;
    return *this;
  }

 private:
  std::uint32_t bits_ = 0;
};

// One entry after its range rule, with the notes it raised.
struct Limited {
  float value;
  Notes notes;
};

// Whether a wind raises a sea at all: one of 0.01 kt or less (either way)
// does not, and there is nothing to calculate. The dialogue leaves on such
// a wind, the command line refuses it.
//   raises_sea(0.01) -> false; raises_sea(-0.02) -> true; raises_sea(20) ->
//   true
inline constexpr float kCalmWind = 0.01f;  // kt
inline bool raises_sea(float knots) {
  return !(knots <= kCalmWind && knots >= -kCalmWind);
}

// The range rule of each entry. The wind is a magnitude: a wind that raises
// no sea means no calculation at all, which the caller decides before.
//   limit_wind(0.5) -> 1 (raised); limit_wind(100) -> 69.31 (compressed);
//   limit_wind(120) -> 70 (compressed, capped)
//   limit_current(2000) -> 0 (ignored); limit_current(-40) -> -15 (raised)
Limited limit_wind(float knots);
Limited limit_duration(float hours);  // 1 .. 200
Limited limit_fetch(float km);        // 1 .. 5000
Limited limit_depth(float metres);    // 1 .. 5000
Limited limit_current(float knots);   // above 1000 -> 0, then -15 .. 15

// The five entries of one wind-sea calculation, in the user's units.
struct Conditions {
  float wind;   // knots
  float dura;   // hours the wind has blown
  float fetch;  // km
  float depth;  // m
  float curr;   // knots, positive with the wind, negative against it
  Model model = Model::kDeepWater;
};

// All range rules at once: the values used and every note raised.
//   {100, 500, 0, -5, 2000} -> {69.31, 200, 1, 1, 0} with five notes
struct LimitedConditions {
  Conditions used;
  Notes notes;
};
LimitedConditions limit(const Conditions& entered);

// Status of the transform into the given depth and current.
enum class Status {
  kRegular,   // transformed without breaking
  kBreaking,  // the steepness or the depth limit of breaking is exceeded
  kBlocked,   // no wave number: blocked by the current, or no wave that fits
};

// The report's warnings, in the order they are printed.
enum class Warning : std::uint8_t {
  kCriticalSeaState,   // light wind, no wave number
  kGrounding,          // water shallower than half the wave height
  kDangerousShoal,     // water shallower than half a wave length, Hc > 1 m
  kUnpleasantShoal,    // the same with Hc up to 1 m
  kBreaking,           // steepness 0.1 or more
  kSomeBreaking,       // steepness 0.06 or more
  kHazardousBreakers,  // the transform breaks
  kCapsizing,          // no wave number
};
inline constexpr int kWarningCount = 8;

// Which growth law limits the deep-water height.
enum class GrowthLimit { kDuration, kFetch };

// Height, period and length of a sea in deep water without current.
struct DeepSea {
  float height;  // m
  float period;  // s
  float length;  // m
};

// The self-check of the height correction: two formulas for the group
// velocity of the target state that disagreed by more than 0.01 m/s.
struct GroupVelocityMismatch {
  float vgr2;  // m/s, derivative of the dispersion relation
  float cgr2;  // m/s, phase speed times n
};

// One horizon of the development table.
struct Horizon {
  std::int32_t hours;  // beyond the entered duration: 3, 12, 48
  std::int32_t waves;  // waves within the horizon, rounded down
  // Characteristic height used, m; never below the previous horizon's.
  // Empty above 40 m, where the model has nothing sensible to say (Hmax is
  // then held at its limits and the sea scale is 9).
  std::optional<float> height;
  // Largest single wave, m, and the sea-scale number; both empty when the
  // report's sea had no wave number.
  std::optional<float> hmax;
  std::optional<std::int32_t> sea_scale;
  std::optional<GroupVelocityMismatch> check;  // raised by this evaluation
};

// A figure of the report that rests on the characteristic height. Where the
// transform gives no height the report prints the figure formed from the
// kernels' no-height value all the same, as it always has; such a figure is
// not known, and machine-readable output gives no value for it.
template <typename T>
struct Figure {
  T shown;     // as the report prints it
  bool known;  // formed from a height the model gives
  std::optional<T> value() const {
    return known ? std::optional<T>(shown) : std::nullopt;
  }
};

// The evaluated sea state of one set of conditions.
struct Report {
  Conditions in;  // the values used
  Notes notes;    // what limiting the entries changed, when it was done
  std::int32_t beaufort;
  DeepSea deep;  // raised by the wind
  // Of the sea the report describes (the one raised by the wind relative
  // to the water in that model):
  GrowthLimit limited_by;
  float fully_developed_height;  // m
  // The characteristic wave Hc, Lc, Tc in the given depth and current.
  // No height where the transform cannot give one; no length when blocked.
  std::optional<float> height;
  std::optional<float> length;
  float period;
  Status status;
  Figure<float> steepness;  // Hc / Lc as the transform found them
  Figure<float> factor;     // steepness / deep-water steepness
  float stopping_current;   // knots, negative: stops waves of period Tc
  Figure<std::int32_t> sea_sickness;  // percent, 0 .. 90
  std::array<Warning, 3> warning_list{};
  std::int32_t warning_count = 0;
  std::span<const Warning> warnings() const {
    return {warning_list.data(), static_cast<std::size_t>(warning_count)};
  }
  std::int32_t waves_per_hour;  // 3600 / deep-water period, to tens
  // The next 3, 12 and 48 hours; empty when the warnings end the report.
  std::optional<std::array<Horizon, 3>> development;
  std::optional<GroupVelocityMismatch> check;  // raised by the evaluation
};

// Evaluates the sea state for conditions already limited.
//   20 kt, 10 h, 100 km, 10 m, no current ->
//     deep {1.883, 5.237, 42.78}, Hc 1.744, Lc 39.48, Tc 5.237, regular,
//     sea sickness 17, dangerous shoal waves, Hmax 3.4 3.7 4.0, 680 waves/h
Report evaluate(const Conditions& in);

// The opposing current (knots, negative) that stops waves of period tper2:
// a quarter of their deep-water phase speed. 6 s -> about -4.55 kt.
float umax(float tper2);

// Sea-sickness probability in percent, 0 to 90, from a height (m), a period
// (s) and the wind (kt). 2 m, 6 s, 20 kt -> 18; 4 m, 8 s, 40 kt -> 57.
std::int32_t sea_sickness(float hs2, float tper2, float wind);

// Rounds a wave count down to 1000s above 10000, then 100s above 1000, then
// 10s above 100: 6967 -> 6900, 27428 -> 27000, 543 -> 540, 54 -> 54.
std::int32_t reduce_count(std::int32_t count);

// Sea-scale number of a characteristic height (m): 3 h^0.41 + 0.2, at most 9.
// 1.744 -> 3; 0.03 -> 0.
std::int32_t sea_scale(float hs);

// The warning rules on the values the kernels give: the wind (kt), the
// depth (m), the height (m, or the transform's no-height value), the length
// (m, as found), the steepness and the transform's status ier (0, 1, 3).
// Says which warnings the report prints, in order, and whether the
// development table follows. A blocked sea (ier above 1) has no length: it
// counts as 4999 m, so water shallower than 2499.5 m is a shoal for it.
//   20 kt, 10 m, 1.744 m, 39.48 m, 0.044, 0 -> dangerous shoal waves; table
struct Verdict {
  std::array<Warning, 3> list{};
  std::int32_t count = 0;
  bool table = false;
};
Verdict warnings(float wind, float depth, float hs2, float wlen2, float stp2,
                 std::int32_t ier);

// Stable names for machine-readable output, with the texts for people: a
// note's sentence, a warning's record as the report prints it (the
// grounding record holds the single byte 0xF5).
//   notes()[kWindRaised] -> {"wind_raised", "wind below 1 kt: used as 1 kt"}
//   warnings()[kBreaking] -> {"breaking_waves",
//                             "    >> WARNING: breaking waves ! "}
std::span<const fields::Coded> notes();     // in the order of Note
std::span<const fields::Coded> warnings();  // in the order of Warning
std::span<const fields::Coded> statuses();  // "ok", "breaking", "blocked"
std::span<const fields::Coded> models();    // "deep-water", "relative-wind"
std::span<const fields::Coded> growth_limits();  // "duration", "fetch"
inline std::string_view code(Note n) {
  return notes()[static_cast<std::size_t>(n)].code;
}
inline std::string_view code(Warning w) {
  return warnings()[static_cast<std::size_t>(w)].code;
}
inline std::string_view code(Status s) {
  return statuses()[static_cast<std::size_t>(s)].code;
}
inline std::string_view code(Model m) {
  return models()[static_cast<std::size_t>(m)].code;
}
inline std::string_view code(GrowthLimit l) {
  return growth_limits()[static_cast<std::size_t>(l)].code;
}
inline std::string_view text(Note n) {
  return notes()[static_cast<std::size_t>(n)].text;
}
inline std::string_view text(Warning w) {
  return warnings()[static_cast<std::size_t>(w)].text;
}

// The fields of a report, in the order of the JSON members and the CSV
// columns: the entries used (wind_kt, beaufort, duration_h, fetch_km,
// depth_m, current_kt, model, notes), deep_water.{height_m, period_s,
// length_m}, wave.{height_m, length_m, period_s}, status, steepness,
// factor, stopping_current_kt, sea_sickness_percent, warnings,
// development.{0,1,2}.{hours, waves, height_m, hmax_m, sea_scale},
// waves_per_hour, limited_by, fully_developed_height_m. Warnings' texts
// are walked without the blanks around them.
void walk(fields::FieldVisitor& v, const Report& r);

}  // namespace windsea

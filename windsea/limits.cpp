// The range rules of the wind-sea entries, each with the notes it raises.
#include <cmath>

#include "morvelstandrik/windsea/engine.hpp"

namespace windsea {
namespace {

// Ranges of the model.
constexpr float kWindFloor = 1.0f;         // kt
constexpr float kWindReliable = 65.0f;     // kt: above it the tops blow off
constexpr float kWindCompression = 10.0f;  // kt per unit of ln(wind / 65)
constexpr float kWindCap = 70.0f;          // kt
constexpr float kDurationMax = 200.0f;     // h
constexpr float kFetchMax = 5000.0f;       // km
constexpr float kDepthMax = 5000.0f;       // m
constexpr float kCurrentSlip = 1000.0f;    // kt: larger entries are slips
constexpr float kCurrentMax = 15.0f;       // kt

Limited clamp(float value, float lo, float hi, Note raised, Note lowered) {
  Limited r{value, {}};
  if (r.value > hi) {
    r.value = hi;
    r.notes.add(lowered);
  }
  if (r.value < lo) {
    r.value = lo;
    r.notes.add(raised);
  }
  return r;
}

}  // namespace

Limited limit_wind(float knots) {
  Limited r{knots, {}};
  if (r.value < kWindFloor) {
    r.value = kWindFloor;
    r.notes.add(Note::kWindRaised);
  }
  if (r.value > kWindReliable) {
    // Winds above 65 knots take off the tops of the waves: compress.
    r.value = kWindReliable +
              kWindCompression *
                  static_cast<float>(
                      std::log(static_cast<double>(r.value / kWindReliable)));
    r.notes.add(Note::kWindCompressed);
  }
  if (r.value > kWindCap) {
    r.value = kWindCap;
    r.notes.add(Note::kWindCapped);
  }
  return r;
}

Limited limit_duration(float hours) {
  return clamp(hours, 1.0f, kDurationMax, Note::kDurationRaised,
               Note::kDurationLowered);
}

Limited limit_fetch(float km) {
  return clamp(km, 1.0f, kFetchMax, Note::kFetchRaised, Note::kFetchLowered);
}

Limited limit_depth(float metres) {
  return clamp(metres, 1.0f, kDepthMax, Note::kDepthRaised,
               Note::kDepthLowered);
}

Limited limit_current(float knots) {
  Limited r{knots, {}};
  if (r.value > kCurrentSlip) {
    r.value = 0.0f;
    r.notes.add(Note::kCurrentIgnored);
  }
  const Limited held = clamp(r.value, -kCurrentMax, kCurrentMax,
                             Note::kCurrentRaised, Note::kCurrentLowered);
  r.value = held.value;
  r.notes |= held.notes;
  return r;
}

LimitedConditions limit(const Conditions& entered) {
  LimitedConditions r{entered, {}};
  const Limited parts[] = {
      limit_wind(entered.wind),    limit_duration(entered.dura),
      limit_fetch(entered.fetch),  limit_depth(entered.depth),
      limit_current(entered.curr),
  };
  float* used[] = {&r.used.wind, &r.used.dura, &r.used.fetch, &r.used.depth,
                   &r.used.curr};
  for (std::size_t i = 0; i < std::size(parts); ++i) {
    *used[i] = parts[i].value;
    r.notes |= parts[i].notes;
  }
  return r;
}

}  // namespace windsea

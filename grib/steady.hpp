// How long the wind has blown at a time, from a series of wind records:
// the wind speed, duration and direction the wind-sea engine is given.
// Plain functions of records to numbers; no files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "morvelstandrik/grib/wind.hpp"

namespace grib {

// Knots from m/s: 3600/1852 knots per m/s.  speed_kt(10) -> 19.438445
double speed_kt(double u, double v);
// The direction the wind blows from, degrees true in [0, 360): 0 for a
// wind from the north (v < 0), 90 from the east (u < 0); none when calm
// (u and v both 0).  from_deg(-1, 0) -> 90; from_deg(0, 1) -> 180
std::optional<double> from_deg(double u, double v);
// Below this speed (knots) a record is calm: it has no direction.
inline constexpr double kCalmKt = 0.01;

enum class DurationMethod {
  kSteady,      // the records within the steadiness limits back from T
  kEquivalent,  // the sea raised step by step by each record's wind
};

struct SteadyRules {
  double direction_deg = 15;          // within this of the mean direction
  double speed_kt = 5;                // within this of the mean speed
  std::int64_t max_gap_s = 6 * 3600;  // a longer gap between records ends it
  DurationMethod method = DurationMethod::kSteady;
};

// The wind the sea at record `at` was raised by.
struct Window {
  std::size_t first = 0;   // the first record of the window (or of the sea)
  std::size_t last = 0;    // the record at T
  std::int64_t start = 0;  // where the duration counts from, s since 1970
  double hours = 0;        // duration up to the record at T
  bool at_least = false;   // reaches the first record or a gap: may be longer
  double wind_kt = 0;      // the model's wind speed
  std::optional<double> from_deg;  // its direction; none when calm
};

// The record at T: the latest not after T. None when T is before the first
// record or after the last.
std::optional<std::size_t> record_at(std::span<const Record> series,
                                     std::int64_t t);

// Steady rule: the window grows back from `at` one record at a time while
// every record in it lies within the limits of the window's mean speed and
// vector-mean direction (a calm record has no direction to test), and the
// gap to the record before is not longer than the limit. The duration counts
// from midway between the window's first record and the one before it; from
// the first record itself (at least) when the window reaches the first
// record of the series or a gap. Wind: the mean speed; direction: the
// vector mean (none when the mean vector is 0).
//   hourly 20 kt from 270 at 00..06 UTC, at 06 -> first 0, 6 h, at least
//   15 kt from 90 at 00, 20 kt from 270 at 01..06 -> 5.5 h, not at least
//
// Equivalent rule: steps through the records from the first with the
// engine's duration growth law: at each record the duration at which its
// wind would have raised the sea left by the record before, plus the time
// step (never more than the time since the sea began). A turn beyond the
// direction limit from the record before, or a calm record, starts a new
// sea (from midway between the records); a gap beyond the limit starts a
// new sea at the record after it (at least). Wind and direction: those of
// the record at T. A wind steady since the first record gives the steady
// rule's duration and wind.
Window window(std::span<const Record> series, std::size_t at,
              const SteadyRules& rules);

}  // namespace grib

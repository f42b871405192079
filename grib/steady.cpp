#include "morvelstandrik/grib/steady.hpp"

#include <cmath>
#include <numbers>
#include <vector>

#include "morvelstandrik/physics/deepw.hpp"

namespace grib {
namespace {

constexpr double kKnotsPerMs = 3600.0 / 1852.0;

// The smaller angle between two directions, degrees in [0, 180].
double turn(double a, double b) {
  double d = std::fmod(std::fabs(a - b), 360.0);
  return d > 180.0 ? 360.0 - d : d;
}

// Means kept as running means, so that a window of equal records has
// exactly their values as its mean.
struct Means {
  double u = 0, v = 0, kt = 0;
  int n = 0;
  void add(const Record& r) {
    ++n;
    u += (r.u - u) / n;
    v += (r.v - v) / n;
    kt += (speed_kt(r.u, r.v) - kt) / n;
  }
};

// Each record's speed and direction, worked out once: a window is checked
// again whole each time it grows.
struct Looks {
  std::vector<double> kt, from;  // from: NaN when calm
};

Looks looks(std::span<const Record> s, std::size_t upto) {
  Looks l;
  for (std::size_t k = 0; k <= upto; ++k) {
    l.kt.push_back(speed_kt(s[k].u, s[k].v));
    l.from.push_back(l.kt.back() < kCalmKt
                         ? std::nan("")
                         : from_deg(s[k].u, s[k].v).value_or(0));
  }
  return l;
}

bool fits(const Looks& l, std::size_t from, std::size_t to, const Means& m,
          const SteadyRules& rules) {
  const std::optional<double> mean_dir = from_deg(m.u, m.v);
  for (std::size_t k = from; k <= to; ++k) {
    if (std::fabs(l.kt[k] - m.kt) > rules.speed_kt) return false;
    if (std::isnan(l.from[k])) continue;  // a calm record has no direction
    if (!mean_dir) return false;
    if (turn(l.from[k], *mean_dir) > rules.direction_deg) return false;
  }
  return true;
}

Window steady(std::span<const Record> s, std::size_t at,
              const SteadyRules& rules) {
  const Looks l = looks(s, at);
  Means m;
  m.add(s[at]);
  std::size_t first = at;
  bool gap = false;
  while (first > 0) {
    if (s[first].time - s[first - 1].time > rules.max_gap_s) {
      gap = true;
      break;
    }
    Means grown = m;
    grown.add(s[first - 1]);
    if (!fits(l, first - 1, at, grown, rules)) break;
    m = grown;
    --first;
  }
  Window w;
  w.first = first;
  w.last = at;
  w.at_least = first == 0 || gap;
  w.start = w.at_least
                ? s[first].time
                : s[first - 1].time + (s[first].time - s[first - 1].time) / 2;
  w.hours = static_cast<double>(s[at].time - w.start) / 3600.0;
  w.wind_kt = m.kt;
  w.from_deg = m.kt < kCalmKt ? std::nullopt : from_deg(m.u, m.v);
  return w;
}

// The duration-limited height the engine gives a wind blowing for a time.
float sea(float kt, double hours) {
  return physics::deepw(kt, static_cast<float>(hours), 1.0f).ht;
}

// The duration (hours, at most `cap`) after which a wind of kt would have
// raised a sea of height h: the engine's growth law turned round by
// bisection, as the law is increasing in the duration.
double duration_for(float kt, float h, double cap) {
  if (!(h > 0.0f)) return 0;
  if (sea(kt, cap) <= h) return cap;
  double lo = 0, hi = cap;
  for (int k = 0; k < 60 && hi - lo > 1e-9; ++k) {
    const double mid = (lo + hi) / 2;
    (sea(kt, mid) < h ? lo : hi) = mid;
  }
  return hi;
}

Window equivalent(std::span<const Record> s, std::size_t at,
                  const SteadyRules& rules) {
  Window w;
  w.first = 0;
  w.at_least = true;
  w.start = s[0].time;
  double hours = 0;  // equivalent duration at the current record
  for (std::size_t k = 1; k <= at; ++k) {
    const std::int64_t step = s[k].time - s[k - 1].time;
    const double dt = static_cast<double>(step) / 3600.0;
    const double before = speed_kt(s[k - 1].u, s[k - 1].v);
    const double now = speed_kt(s[k].u, s[k].v);
    if (step > rules.max_gap_s) {  // nothing known of the gap
      w = {k, k, s[k].time, 0, true, 0, std::nullopt};
      hours = 0;
      continue;
    }
    const bool calm = before < kCalmKt || now < kCalmKt;
    if (calm || turn(*from_deg(s[k].u, s[k].v),
                     *from_deg(s[k - 1].u, s[k - 1].v)) > rules.direction_deg) {
      // A new sea, raised from midway between the records.
      w.first = k;
      w.at_least = false;
      w.start = s[k - 1].time + step / 2;
      hours = static_cast<double>(s[k].time - w.start) / 3600.0;
      if (now < kCalmKt) hours = 0;
      continue;
    }
    const float kt_before = static_cast<float>(before);
    const float kt_now = static_cast<float>(now);
    double held = hours;  // the same wind: the same duration, exactly
    if (kt_now != kt_before) {
      const double began =
          static_cast<double>(s[k - 1].time - w.start) / 3600.0;
      held = duration_for(kt_now, sea(kt_before, hours), began);
    }
    hours = held + dt;
  }
  w.last = at;
  w.hours = hours;
  w.wind_kt = speed_kt(s[at].u, s[at].v);
  w.from_deg = w.wind_kt < kCalmKt ? std::nullopt : from_deg(s[at].u, s[at].v);
  return w;
}

}  // namespace

double speed_kt(double u, double v) {
  return std::hypot(u, v) * kKnotsPerMs;
}

std::optional<double> from_deg(double u, double v) {
  if (u == 0 && v == 0) return std::nullopt;
  double d = std::atan2(-u, -v) * (180.0 / std::numbers::pi);
  if (d < 0) d += 360.0;
  if (d >= 360.0) d -= 360.0;
  return d;
}

std::optional<std::size_t> record_at(std::span<const Record> series,
                                     std::int64_t t) {
  if (series.empty() || t < series.front().time || t > series.back().time) {
    return std::nullopt;
  }
  std::size_t k = series.size() - 1;
  while (series[k].time > t) --k;
  return k;
}

Window window(std::span<const Record> series, std::size_t at,
              const SteadyRules& rules) {
  return rules.method == DurationMethod::kSteady
             ? steady(series, at, rules)
             : equivalent(series, at, rules);
}

}  // namespace grib

#include "morvelstandrik/swell/engine.hpp"

#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/swell/decay_table.hpp"
#include "morvelstandrik/swell/distance.hpp"

namespace swell {

Field infer(float period, float height) {
  const Inversion inv = swelld(period, height);
  const Outcome outcome = inv.ier == 0   ? Outcome::kInside
                          : inv.ier == 1 ? Outcome::kBelow
                                         : Outcome::kAbove;
  return {period,
          height,
          outcome,
          inv.wind,
          physics::beaufort(inv.wind),
          inv.dist,
          round_distance(inv.dist)};
}

namespace {

constexpr fields::Coded kOutcomes[] = {
    {"inside", ""}, {"below", ""}, {"above", ""}};
static_assert(std::size(kOutcomes) ==
              static_cast<std::size_t>(Outcome::kAbove) + 1);

}  // namespace

std::span<const fields::Coded> outcomes() {
  return kOutcomes;
}

void walk(fields::FieldVisitor& v, const Field& f) {
  v.number("period_s", "s", f.period);
  v.number("height_m", "m", f.height);
  v.choice("outcome", outcomes(), static_cast<std::size_t>(f.outcome));
  v.number("wind_kt", "kt", f.wind);
  v.integer("beaufort", "Bft", f.beaufort);
  v.number("distance_km", "km", f.distance);
  v.number("distance_shown_km", "km", f.distance_shown);
}

}  // namespace swell

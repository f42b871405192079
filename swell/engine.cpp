#include "morvelstandrik/swell/engine.hpp"

#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/swell/distance.hpp"
#include "morvelstandrik/swell/swelld.hpp"

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

std::string_view code(Outcome o) {
  switch (o) {
    case Outcome::kInside:
      return "inside";
    case Outcome::kBelow:
      return "below";
    case Outcome::kAbove:
      return "above";
  }
  return "";
}

}  // namespace swell

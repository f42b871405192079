#include "morvelstandrik/physics/beaufort.hpp"

#include "morvelstandrik/physics/float_math.hpp"

namespace physics {

std::int32_t beaufort(float knots) {
  return static_cast<std::int32_t>(0.726f * dpow(knots, 0.665f) + 0.5f);
}

}  // namespace physics

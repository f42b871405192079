#pragma once

#include <cstdint>

#include "morvelstandrik/physics/com2.hpp"

namespace physics {

// Height that stands for a height the model cannot give.
inline constexpr float no_height = 9999.99f;

// Receives the self-check record of the height correction: the group
// velocity of the target state by two formulas that should agree, reported
// when they differ by more than 0.01 m/s. The wind-sea calculation connects
// it to the console ("ERROR: v,c=" followed by the two values).
class SelfCheck {
 public:
  virtual void group_velocity_mismatch(float vgr2, float cgr2) = 0;

 protected:
  ~SelfCheck() = default;
};

// Carries the wave height he0 (m) from a reference state (depth0, no
// current) into a target state (depth, current curr in knots) by
// conservation of wave-action flux, for the wave numbers ak0 and ak (rad/m)
// that the wave-number solver found there. ier enters as that solver's
// status for ak (0 or 2) and leaves as:
//   0  no breaking limit exceeded,
//   1  the steepness or the depth limit exceeded (height not reduced),
//   3  no wave number in the target state (entered as 2).
// Returns the target height, or no_height when ier ends above 1 or the
// height would grow beyond 5 * he0. A target equal to the reference returns
// he0 unchanged. Writes com2.curms from curr.
float heicor(float g, float depth0, float depth, float curr, float ak0,
             float ak, float he0, std::int32_t& ier, Com2& com2,
             SelfCheck& check);

}  // namespace physics

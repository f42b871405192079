#pragma once

#include "morvelstandrik/physics/heicor.hpp"

namespace physics {

// Keeps the group-velocity records the height correction sends.
class SelfCheckRecorder final : public SelfCheck {
 public:
  void group_velocity_mismatch(float vgr2, float cgr2) override {
    ++count;
    last_vgr2 = vgr2;
    last_cgr2 = cgr2;
  }
  int count = 0;
  float last_vgr2 = 0.0f;
  float last_cgr2 = 0.0f;
};

}  // namespace physics

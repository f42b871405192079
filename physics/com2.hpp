#pragma once

namespace physics {

// The environment that the dispersion residual reads: the wave-number solver
// fills all three fields before each scan, the height correction then writes
// the current again. After a shoal and current transform the record holds
// the target state (current in m/s as the height correction wrote it,
// gravity, target depth); the development table reads the depth back.
struct Com2 {
  float curms;   // current, m/s; positive along the waves, negative against
  float gravc;   // gravitational acceleration, m/s^2
  float depthc;  // water depth, m
};

}  // namespace physics

#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "morvelstandrik/physics/com2.hpp"
#include "morvelstandrik/physics/wvnum.hpp"

namespace physics {

// The wave-number scan exactly as its steps read: 10000 calls of kdisper
// from short to long waves, no early exit. It is the reference that the
// fast wvnum is held to, bit for bit, in tests, the verifier and the
// benchmarks; it has no place in the program.
WaveNumber wvnum_literal(float grav, float tper0, float curr, float depth,
                         Com2& com2);

// The same scan for many waves in one water. The trial wave numbers depend
// only on the step, and the intrinsic frequency v2 only on gravity, depth
// and the step, so both are formed once per water by the same float steps
// (v2 by kdisper itself); each scan then forms v1 and the residual v2 - v1
// with kdisper's own float steps and judges them with the same loop as
// wvnum_literal. Its results are wvnum_literal's, bit for bit, at a small
// part of the cost.
class LiteralWater {
 public:
  LiteralWater(float grav, float depth);
  WaveNumber scan(float tper0, float curr, Com2& com2) const;

 private:
  float grav_;
  float depth_;
  std::vector<float> ak_;  // index i for step i; 0 unused
  std::vector<float> v2_;
};

// A wave the scan is asked about: period (s), current (kt), depth (m).
struct Wave {
  float tper0, curr, depth;
};

// n seeded waves over the whole input space: periods 0.5 to 45 s, currents
// -15 to 15 kt, depths 1 to 5000 m with half of them below 50 m. The same
// seed gives the same waves.
std::vector<Wave> seeded_waves(std::size_t n, std::uint64_t seed);

}  // namespace physics

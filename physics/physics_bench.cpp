// The wave-number scan three ways, case by case: the literal scan of every
// grid point (the reference), the fast search that wvnum is now, and the
// floor of any literal scan, its 10000 hyperbolic tangents and square roots
// with nothing around them. Then the same over a seeded spread of waves, and
// one whole wind-sea evaluation.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/wvnum.hpp"
#include "morvelstandrik/physics/wvnum_grid.hpp"
#include "morvelstandrik/physics/wvnum_reference.hpp"

namespace physics {
namespace {

constexpr float g = 9.81f;

// The classes of water the scan meets.
constexpr Wave deep{8.78f, 0.0f, 5000.0f};
constexpr Wave shallow{5.24f, 0.0f, 10.0f};
constexpr Wave following{8.78f, 3.0f, 5000.0f};
constexpr Wave following_shallow{5.24f, 3.0f, 10.0f};
constexpr Wave opposing{8.78f, -3.0f, 5000.0f};
constexpr Wave opposing_shallow{5.24f, -2.0f, 10.0f};
constexpr Wave blocked{5.24f, -5.0f, 5000.0f};
constexpr Wave blocked_shallow{5.24f, -5.0f, 10.0f};
constexpr Wave beyond_grid{40.0f, 0.0f, 5000.0f};
constexpr Wave very_shallow{12.0f, 1.0f, 1.0f};

void BM_literal(benchmark::State& state, Wave w) {
  Com2 com2{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(wvnum_literal(g, w.tper0, w.curr, w.depth, com2));
  }
}

void BM_fast(benchmark::State& state, Wave w) {
  Com2 com2{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(wvnum(g, w.tper0, w.curr, w.depth, com2));
  }
}

// The tangents and roots of a literal scan over the same grid, as kdisper
// forms them, and nothing else.
void BM_floor(benchmark::State& state, Wave w) {
  std::vector<float> ak;
  for (std::int32_t i = 1; i <= wvnum_grid::nz; ++i) {
    ak.push_back(wvnum_grid::ak(i));
  }
  for (auto _ : state) {
    float sum = 0.0f;
    for (const float k : ak) sum += dsqrt(g * k * dtanh(k * w.depth));
    benchmark::DoNotOptimize(sum);
  }
}

#define MORVEL_CASE(name)                    \
  BENCHMARK_CAPTURE(BM_literal, name, name); \
  BENCHMARK_CAPTURE(BM_fast, name, name);    \
  BENCHMARK_CAPTURE(BM_floor, name, name)

MORVEL_CASE(deep);
MORVEL_CASE(shallow);
MORVEL_CASE(following);
MORVEL_CASE(following_shallow);
MORVEL_CASE(opposing);
MORVEL_CASE(opposing_shallow);
MORVEL_CASE(blocked);
MORVEL_CASE(blocked_shallow);
MORVEL_CASE(beyond_grid);
MORVEL_CASE(very_shallow);

// 256 seeded waves over the whole input space. Time per wave.
std::vector<Wave> spread() {
  return seeded_waves(256, 11);
}

void BM_spread(benchmark::State& state, bool literal) {
  const std::vector<Wave> waves = spread();
  Com2 com2{};
  for (auto _ : state) {
    for (const Wave& w : waves) {
      benchmark::DoNotOptimize(
          literal ? wvnum_literal(g, w.tper0, w.curr, w.depth, com2)
                  : wvnum(g, w.tper0, w.curr, w.depth, com2));
    }
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(waves.size()));
}
BENCHMARK_CAPTURE(BM_spread, literal, true);
BENCHMARK_CAPTURE(BM_spread, fast, false);

class NoCheck final : public SelfCheck {
 public:
  void group_velocity_mismatch(float, float) override {}
};

// One wind-sea evaluation: the sea of the wind, the sea of the wind relative
// to the current, and the transform into 10 m of water.
void BM_evaluation(benchmark::State& state) {
  Com2 com2{};
  NoCheck check;
  const float wind = 20.0f;
  const float curr = -2.0f;
  for (auto _ : state) {
    const DeepWater sea = deepw(wind, 10.0f, 100.0f);
    const DeepWater relative = deepw(std::fabs(wind - curr), 10.0f, 100.0f);
    benchmark::DoNotOptimize(relative);
    benchmark::DoNotOptimize(
        curwav(g, 10.0f, curr, sea.tper0, sea.hs0, com2, check));
  }
}
BENCHMARK(BM_evaluation);

}  // namespace
}  // namespace physics

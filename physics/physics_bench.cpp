// Cost of the wave-number scan against its floor: the same 10000 hyperbolic
// tangents and square roots in double, with nothing else around them.
#include <benchmark/benchmark.h>

#include <cmath>

#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/physics/wvnum.hpp"

namespace physics {
namespace {

constexpr float g = 9.81f;
constexpr float tper = 8.78f;
constexpr float deep = 5000.0f;
constexpr float shallow = 10.0f;

class NoCheck final : public SelfCheck {
 public:
  void group_velocity_mismatch(float, float) override {}
};

void BM_wvnum(benchmark::State& state, float depth) {
  Com2 com2{};
  for (auto _ : state) {
    benchmark::DoNotOptimize(wvnum(g, tper, 0.0f, depth, com2));
  }
}
BENCHMARK_CAPTURE(BM_wvnum, deep, deep);
BENCHMARK_CAPTURE(BM_wvnum, shallow, shallow);

// The transcendental work of one scan over the same wave numbers, in double.
void BM_tanh_sqrt_baseline(benchmark::State& state, double depth) {
  const double dw = 2100.0 / 10001.0;
  const double two_pi = 6.283185307179586;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 1; i <= 10000; ++i) {
      const double k = two_pi / (i * dw);
      sum += std::sqrt(9.81 * k * std::tanh(k * depth));
    }
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK_CAPTURE(BM_tanh_sqrt_baseline, deep, 5000.0);
BENCHMARK_CAPTURE(BM_tanh_sqrt_baseline, shallow, 10.0);

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
        curwav(g, shallow, curr, sea.tper0, sea.hs0, com2, check));
  }
}
BENCHMARK(BM_evaluation);

}  // namespace
}  // namespace physics

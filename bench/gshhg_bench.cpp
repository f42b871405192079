// Reading the GSHHG shorelines and testing what lies at a point: the whole
// globe at each installed resolution, a region at full resolution, and
// batches of 10,000 level tests like those of a fetch computation.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "morvelstandrik/gshhg/gshhg.hpp"

namespace {

bool installed(char r) {
  return std::filesystem::exists(gshhg::default_directory + "/binned_GSHHS_" +
                                 r + ".nc");
}

void load(benchmark::State& state, char r) {
  if (!installed(r)) {
    state.SkipWithError("not installed");
    return;
  }
  for (auto _ : state) {
    coast::Shoreline s = gshhg::load(r);
    benchmark::DoNotOptimize(s.lines.data());
  }
}
BENCHMARK_CAPTURE(load, crude, 'c')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(load, low, 'l')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(load, intermediate, 'i')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(load, high, 'h')->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(load, full, 'f')->Unit(benchmark::kMillisecond);

// The western Baltic, 4 by 5 degrees.
void load_region_full(benchmark::State& state) {
  if (!installed('f')) {
    state.SkipWithError("not installed");
    return;
  }
  for (auto _ : state) {
    coast::Shoreline s = gshhg::load_region('f', {54, 9, 58, 14});
    benchmark::DoNotOptimize(s.lines.data());
  }
}
BENCHMARK(load_region_full)->Unit(benchmark::kMillisecond);

// 10,000 points spread over the globe (a fixed linear congruential
// sequence), or over the Danish straits among islands and sounds.
std::vector<coast::Point> points(bool straits) {
  std::vector<coast::Point> p;
  std::uint32_t seed = 1;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return seed / 4294967296.0;
  };
  for (int k = 0; k < 10000; ++k) {
    const double a = next(), b = next();
    p.push_back(straits ? coast::Point{54 + 4 * a, 9 + 5 * b}
                        : coast::Point{-90 + 180 * a, -180 + 360 * b});
  }
  return p;
}

void level(benchmark::State& state, char r, bool straits) {
  if (!installed(r)) {
    state.SkipWithError("not installed");
    return;
  }
  const coast::Shoreline s = gshhg::load(r);
  const std::vector<coast::Point> batch = points(straits);
  for (auto _ : state) {
    int sum = 0;
    for (const coast::Point p : batch) sum += s.level(p);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() *
                          static_cast<std::int64_t>(batch.size()));
}
BENCHMARK_CAPTURE(level, intermediate_globe, 'i', false);
BENCHMARK_CAPTURE(level, intermediate_straits, 'i', true);
BENCHMARK_CAPTURE(level, full_globe, 'f', false);
BENCHMARK_CAPTURE(level, full_straits, 'f', true);

}  // namespace

BENCHMARK_MAIN();

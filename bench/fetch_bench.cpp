// The fetch over a coastline: spm queries per second at sea points among
// the shores, and the time to index the coastline. Each coastline is a
// loader function in kCoastlines; a real data set is one more line there.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "morvelstandrik/coast/fetch.hpp"

namespace {

// About 10^6 segments: 10^4 islands of 100 points each, 1 to 5 km
// across, scattered over 20 by 20 degrees about the equator (about as
// dense as an archipelago's shores in a full-resolution coastline).
coast::Shoreline synthetic() {
  std::mt19937_64 random(1962);
  std::uniform_real_distribution<double> where(-10, 10), size(0.005, 0.025);
  coast::Shoreline s;
  s.source = "synthetic";
  for (int i = 0; i < 10000; ++i) {
    const double lat = where(random), lon = where(random), r = size(random);
    std::vector<coast::Point> ring;
    for (int k = 0; k <= 100; ++k) {
      const double a = 2 * std::numbers::pi * (k % 100) / 100;
      ring.push_back({lat + r * std::sin(a), lon + r * std::cos(a)});
    }
    s.lines.push_back(std::move(ring));
  }
  s.level = [](coast::Point) { return int{coast::sea}; };
  return s;
}

struct Coastline {
  const char* name;
  coast::Shoreline (*load)();
};

const Coastline kCoastlines[] = {
    {"synthetic", synthetic},
};

const coast::Coast& indexed(const Coastline& c) {
  static std::vector<std::unique_ptr<coast::Coast>> built(
      std::size(kCoastlines));
  auto& slot = built[static_cast<std::size_t>(&c - kCoastlines)];
  if (!slot) slot = std::make_unique<coast::Coast>(c.load());
  return *slot;
}

void spm_queries(benchmark::State& state, const Coastline* c) {
  const coast::Coast& coast = indexed(*c);
  std::mt19937_64 random(54);
  std::uniform_real_distribution<double> where(-9, 9), from(0, 360);
  std::int64_t queries = 0;
  for (auto _ : state) {
    const coast::Fetch f =
        coast::fetch(coast, {where(random), where(random)}, from(random));
    benchmark::DoNotOptimize(f.km);
    ++queries;
  }
  state.SetItemsProcessed(queries);
  state.counters["segments"] = static_cast<double>(coast.segments());
}

void index_build(benchmark::State& state, const Coastline* c) {
  const coast::Shoreline s = c->load();
  for (auto _ : state) {
    const coast::Coast coast(s);
    benchmark::DoNotOptimize(coast.segments());
  }
}

const bool registered = [] {
  for (const Coastline& c : kCoastlines) {
    benchmark::RegisterBenchmark((std::string("spm_queries/") + c.name).c_str(),
                                 spm_queries, &c)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark((std::string("index_build/") + c.name).c_str(),
                                 index_build, &c)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(3);
  }
  return true;
}();

}  // namespace

BENCHMARK_MAIN();

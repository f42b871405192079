// The fetch over a coastline: spm queries per second at sea points among
// the shores, and the time to index the coastline. Each coastline is a
// loader function in kCoastlines, with the box its query points are drawn
// from (points on land are drawn again); a real data set is one more line
// there.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

#include "morvelstandrik/coast/fetch.hpp"
#include "morvelstandrik/gshhg/gshhg.hpp"

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

// The GSHHG shorelines at intermediate and full resolution, where
// installed.
coast::Shoreline gshhg_i() {
  return gshhg::load('i');
}
coast::Shoreline gshhg_f() {
  return gshhg::load('f');
}

struct Coastline {
  const char* name;
  coast::Shoreline (*load)();
  double south, north, west, east;  // where the query points lie
};

// The real shores: the western Baltic's islands and sounds, and the
// Aegean's archipelago.
const Coastline kCoastlines[] = {
    {"synthetic", synthetic, -9, 9, -9, 9},
    {"gshhg_i_baltic", gshhg_i, 53.8, 56, 9.5, 13.5},
    {"gshhg_i_aegean", gshhg_i, 36, 40.5, 22.5, 27.5},
    {"gshhg_f_baltic", gshhg_f, 53.8, 56, 9.5, 13.5},
    {"gshhg_f_aegean", gshhg_f, 36, 40.5, 22.5, 27.5},
};

// Built once per data set, and only the last one kept: the full
// resolution's index is large.
const coast::Coast& indexed(const Coastline& c) {
  static coast::Shoreline (*loaded)() = nullptr;
  static std::unique_ptr<coast::Coast> built;
  if (loaded != c.load) {
    built.reset();
    built = std::make_unique<coast::Coast>(c.load());
    loaded = c.load;
  }
  return *built;
}

void spm_queries(benchmark::State& state, const Coastline* c) {
  const coast::Coast& coast = indexed(*c);
  std::mt19937_64 random(54);
  std::uniform_real_distribution<double> lat(c->south, c->north),
      lon(c->west, c->east), from(0, 360);
  std::int64_t queries = 0;
  for (auto _ : state) {
    for (;;) {
      try {
        const coast::Fetch f =
            coast::fetch(coast, {lat(random), lon(random)}, from(random));
        benchmark::DoNotOptimize(f.km);
        break;
      } catch (const coast::OnLand&) {
      }
    }
    ++queries;
  }
  state.SetItemsProcessed(queries);
  state.counters["segments"] = static_cast<double>(coast.segments());
}

void index_build(benchmark::State& state, const Coastline* c) {
  if (c != kCoastlines && c->load == c[-1].load) {
    state.SkipWithError("the same coastline as the one before");
    return;
  }
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

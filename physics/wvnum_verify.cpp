// Holds the fast wave-number search to the literal scan, bit for bit: the
// wave number, the status and the record com2 of every case must be equal.
//
//   wvnum_verify --random N [--seed S] [--threads T]   seeded random waves
//   wvnum_verify --sweep [--threads T]       fine grids of the program's own
//                                            inputs
//
// Random cases come in waters (gravity and depth) of 500 waves (period and
// current) each; the literal scan of a water reuses its v2 of every grid
// point (LiteralWater), formed by kdisper itself. Depths run from 1 to 5000 m
// with half of them below 50 m, plus the float values at and around the
// depth limits and a few waters outside them; periods from 0.5 s to far past
// the longest grid wave, including the periods the growth laws give;
// currents from -15 to 15 kt, the float values at and around +-15 kt and
// +-1000 kt, whole and half knots, and stronger currents. Prints the count
// of cases, of mismatches (with the first few) and the time; exits 1 on any
// mismatch.
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/physics/wvnum.hpp"
#include "morvelstandrik/physics/wvnum_reference.hpp"

namespace {

using physics::Com2;
using physics::LiteralWater;
using physics::WaveNumber;

// splitmix64: the same stream on every platform and library.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  double unit() { return static_cast<double>(next() >> 11) * 0x1p-53; }
  double uniform(double lo, double hi) { return lo + (hi - lo) * unit(); }
  double log_uniform(double lo, double hi) {
    return std::exp(uniform(std::log(lo), std::log(hi)));
  }
  int below(int n) {
    return static_cast<int>(next() % static_cast<std::uint64_t>(n));
  }

 private:
  std::uint64_t state_;
};

float to_float(double x) {
  return static_cast<float>(x);
}

// A float some units in the last place away from x.
float ulps_from(float x, int steps) {
  while (steps > 0) {
    x = std::nextafter(x, HUGE_VALF);
    --steps;
  }
  while (steps < 0) {
    x = std::nextafter(x, -HUGE_VALF);
    ++steps;
  }
  return x;
}

float near(Random& rng, float x) {
  return ulps_from(x, rng.below(9) - 4);
}

float random_gravity(Random& rng) {
  return rng.below(100) < 97 ? 9.81f : to_float(rng.uniform(1.0, 30.0));
}

float random_depth(Random& rng) {
  const int pick = rng.below(100);
  if (pick < 45) return to_float(rng.uniform(1.0, 50.0));
  if (pick < 75) return to_float(rng.log_uniform(50.0, 5000.0));
  if (pick < 85) {
    const float limits[] = {1.0f, 5000.0f, 50.0f};
    return near(rng, limits[rng.below(3)]);
  }
  if (pick < 90) return static_cast<float>(1 + rng.below(50));
  if (pick < 95) return to_float(rng.log_uniform(0.01, 1.0));
  return to_float(rng.log_uniform(5000.0, 1e6));
}

float random_period(Random& rng) {
  const int pick = rng.below(100);
  if (pick < 40) return to_float(rng.uniform(0.5, 45.0));
  if (pick < 55) return to_float(rng.log_uniform(0.5, 300.0));
  if (pick < 75) {
    // The growth laws' period for a wind, a duration and a fetch.
    const float wind = to_float(rng.uniform(0.0, 80.0));
    const float dura = to_float(rng.uniform(1.0, 248.0));
    const float fetch = to_float(rng.log_uniform(1.0, 5000.0));
    return physics::deepw(wind, dura, fetch).tper0;
  }
  if (pick < 85) {
    // Where the deep-water root leaves the grid at either end.
    return rng.below(2) == 0 ? to_float(rng.uniform(0.7, 0.9))
                             : to_float(rng.uniform(36.0, 38.0));
  }
  if (pick < 95) {
    return to_float(std::round(rng.uniform(1.0, 20.0) * 100.0) / 100.0);
  }
  const float specials[] = {1.0f, 0.5f, 2.0f, 5.0f, 10.0f};
  return near(rng, specials[rng.below(5)]);
}

float random_current(Random& rng) {
  const int pick = rng.below(100);
  if (pick < 55) return to_float(rng.uniform(-15.0, 15.0));
  if (pick < 65) return rng.below(2) == 0 ? 0.0f : -0.0f;
  if (pick < 75) return near(rng, rng.below(2) == 0 ? 15.0f : -15.0f);
  if (pick < 85) return static_cast<float>(rng.below(61) - 30) * 0.5f;
  if (pick < 95) return to_float(rng.uniform(-50.0, 50.0));
  const float specials[] = {1000.0f, -1000.0f, 1e6f, -1e6f};
  return near(rng, specials[rng.below(4)]);
}

struct Case {
  float grav, tper0, curr, depth;
};

struct Tally {
  std::uint64_t cases = 0;
  std::uint64_t mismatches = 0;
  std::mutex lock;

  void add(std::uint64_t n, std::uint64_t bad) {
    const std::lock_guard<std::mutex> hold(lock);
    cases += n;
    mismatches += bad;
  }
};

bool same(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

// One wave in one water: true when the fast search gives the literal bits.
bool agrees(const LiteralWater& water, const Case& c) {
  Com2 want_com2{};
  const WaveNumber want = water.scan(c.tper0, c.curr, want_com2);
  Com2 got_com2{-1.0f, -1.0f, -1.0f};
  const WaveNumber got =
      physics::wvnum(c.grav, c.tper0, c.curr, c.depth, got_com2);
  const bool ok = same(want.ak, got.ak) && want.ier == got.ier &&
                  same(want_com2.curms, got_com2.curms) &&
                  same(want_com2.gravc, got_com2.gravc) &&
                  same(want_com2.depthc, got_com2.depthc);
  if (!ok) {
    static std::mutex print;
    const std::lock_guard<std::mutex> hold(print);
    std::printf(
        "MISMATCH g %.9g T %.9g curr %.9g depth %.9g: literal ak %.9g ier %d, "
        "fast ak %.9g ier %d\n",
        static_cast<double>(c.grav), static_cast<double>(c.tper0),
        static_cast<double>(c.curr), static_cast<double>(c.depth),
        static_cast<double>(want.ak), want.ier, static_cast<double>(got.ak),
        got.ier);
  }
  return ok;
}

constexpr int waves_per_water = 500;

// Waters first .. first + count - 1 of the seeded stream.
void random_waters(std::uint64_t seed, std::uint64_t first, std::uint64_t count,
                   Tally& tally) {
  for (std::uint64_t w = first; w < first + count; ++w) {
    Random rng(seed ^ (w * 0xd1b54a32d192ed03ULL));
    const float grav = random_gravity(rng);
    const float depth = random_depth(rng);
    const LiteralWater water(grav, depth);
    std::uint64_t bad = 0;
    for (int i = 0; i < waves_per_water; ++i) {
      const Case c{grav, random_period(rng), random_current(rng), depth};
      if (!agrees(water, c)) ++bad;
    }
    tally.add(waves_per_water, bad);
  }
}

// The program's inputs: gravity 9.81, depths as typed (1 to 50 m by 0.5 m,
// then coarser to 5000 m), currents from -15 to 15 kt by 0.5 kt, periods
// from 1 to 25 s by 0.01 s; and the deep-water reference search (5000 m, no
// current) for periods from 0.5 to 45 s by 0.0001 s.
std::vector<float> sweep_depths() {
  std::vector<float> depths;
  for (int i = 2; i <= 100; ++i) depths.push_back(0.5f * static_cast<float>(i));
  for (int d = 55; d <= 200; d += 5) depths.push_back(static_cast<float>(d));
  for (int d = 250; d <= 5000; d += 250) {
    depths.push_back(static_cast<float>(d));
  }
  return depths;
}

void sweep_depth(float depth, Tally& tally) {
  const float g = 9.81f;
  const LiteralWater water(g, depth);
  std::uint64_t n = 0;
  std::uint64_t bad = 0;
  for (int ic = -30; ic <= 30; ++ic) {
    const float curr = 0.5f * static_cast<float>(ic);
    for (int it = 100; it <= 2500; ++it) {
      const float tper0 = static_cast<float>(it) / 100.0f;
      ++n;
      if (!agrees(water, {g, tper0, curr, depth})) ++bad;
    }
  }
  tally.add(n, bad);
}

void sweep_reference(int part, int parts, Tally& tally) {
  const float g = 9.81f;
  const LiteralWater water(g, 5000.0f);
  std::uint64_t n = 0;
  std::uint64_t bad = 0;
  for (int it = 5000 + part; it <= 450000; it += parts) {
    const float tper0 = static_cast<float>(it) / 10000.0f;
    ++n;
    if (!agrees(water, {g, tper0, 0.0f, 5000.0f})) ++bad;
  }
  tally.add(n, bad);
}

int usage() {
  std::fprintf(stderr,
               "usage: wvnum_verify (--random N [--seed S] | --sweep) "
               "[--threads T]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t random = 0;
  std::uint64_t seed = 20261209;
  bool sweep = false;
  unsigned threads = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--random" && has_value) {
      random = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--seed" && has_value) {
      seed = std::strtoull(argv[++i], nullptr, 10);
    } else if (arg == "--threads" && has_value) {
      threads = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
      if (threads == 0) threads = 1;
    } else if (arg == "--sweep") {
      sweep = true;
    } else {
      return usage();
    }
  }
  if (random == 0 && !sweep) return usage();

  const auto start = std::chrono::steady_clock::now();
  Tally tally;
  std::vector<std::thread> pool;
  if (random > 0) {
    const std::uint64_t waters =
        (random + waves_per_water - 1) / waves_per_water;
    for (unsigned t = 0; t < threads; ++t) {
      const std::uint64_t first = waters * t / threads;
      const std::uint64_t last = waters * (t + 1) / threads;
      pool.emplace_back(random_waters, seed, first, last - first,
                        std::ref(tally));
    }
    for (auto& t : pool) t.join();
    pool.clear();
  }
  if (sweep) {
    const std::vector<float> depths = sweep_depths();
    for (unsigned t = 0; t < threads; ++t) {
      pool.emplace_back([&, t] {
        for (std::size_t d = t; d < depths.size(); d += threads) {
          sweep_depth(depths[d], tally);
        }
        sweep_reference(static_cast<int>(t), static_cast<int>(threads), tally);
      });
    }
    for (auto& t : pool) t.join();
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  std::printf("wvnum_verify: %llu cases, %llu mismatches, %.1f s\n",
              static_cast<unsigned long long>(tally.cases),
              static_cast<unsigned long long>(tally.mismatches), seconds);
  return tally.mismatches == 0 ? 0 : 1;
}

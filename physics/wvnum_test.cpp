#include "morvelstandrik/physics/wvnum.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/wvnum_grid.hpp"
#include "morvelstandrik/physics/wvnum_reference.hpp"

namespace physics {
namespace {

constexpr float g = 9.81f;
constexpr double grid_step = 2100.0 / 10001.0;

float length_of(float ak) {
  return (pi + pi) / ak;
}

TEST(Kdisper, DopplerAndLinearFrequencies) {
  // Deep water gives v2 = sqrt(g k); in 1 m depth tanh(0.01) is 0.01 to
  // 3e-5, so v2 = k sqrt(g d). The current moves v1 only.
  const double deep = std::sqrt(9.81 * 0.5);
  const double shallow = 0.01 * std::sqrt(9.81);
  const struct {
    float ak, curms, depthc;
    double v1, v2;
  } cases[] = {
      {0.5f, 0.0f, 5000.0f, 1.0, deep},     // no current
      {0.5f, 2.0f, 5000.0f, 0.0, deep},     // following: 1 - 0.5 * 2
      {0.01f, -1.0f, 1.0f, 1.01, shallow},  // opposing, shallow
  };
  for (const auto& c : cases) {
    const Dispersion d = kdisper(1.0f, c.ak, Com2{c.curms, g, c.depthc});
    EXPECT_NEAR(d.v1, c.v1, 1e-6) << c.ak << " rad/m, " << c.depthc << " m";
    EXPECT_NEAR(d.v2, c.v2, 1e-6) << c.ak << " rad/m, " << c.depthc << " m";
    EXPECT_FLOAT_EQ(d.dv, d.v2 - d.v1);
  }
}

struct ScanCase {
  const char* what;
  float tper0, curr, depth;
  std::int32_t ier;
  float length, length_tol;
};

TEST(Wvnum, ScanCases) {
  const ScanCase cases[] = {
      // Root ~120.36 m between grid points 120.32 and 120.53 m.
      {"longer grid point of the bracket", 8.78f, 0, 5000, 0, 120.53f, 5e-3f},
      {"deep-water reference of a 5.24 s sea", 5.24f, 0, 5000, 0, 43.05f,
       5e-3f},
      // Root ~1.56 m between 1.47 and 1.68 m.
      {"1 s period", 1.0f, 0, 5000, 0, 1.68f, 5e-3f},
      // Sign changes near 2.1 m and 91.3 m: the long wave is returned.
      {"two roots against 3 kt", 8.78f, -3, 5000, 0, 91.3f, 5e-2f},
      {"one root with 3 kt", 8.78f, 3, 5000, 0, 146.4f, 5e-2f},
      // Blocked: the best grid point.
      {"blocked by 5 kt against", 5.24f, -5, 5000, 2, 17.01f, 5e-3f},
      // Root ~2500 m beyond the grid: the residual shrinks towards the
      // longest grid point, 10000 steps.
      {"beyond the range", 40.0f, 0, 5000, 2, 2099.79f, 5e-3f},
      // Root ~0.39 m below the grid: the residual is smallest at 1 m, where
      // the first four grid points sit.
      {"below the range", 0.5f, 0, 5000, 2, 1.0f, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Com2 com2{};
    const WaveNumber w = wvnum(g, c.tper0, c.curr, c.depth, com2);
    EXPECT_EQ(w.ier, c.ier);
    EXPECT_NEAR(length_of(w.ak), c.length, c.length_tol);
  }
  Com2 com2{};
  EXPECT_NEAR(wvnum(g, 8.78f, 0, 5000, com2).ak, 0.05213f, 5e-6f);
  EXPECT_NEAR(wvnum(g, 1.0f, 0, 5000, com2).ak, 3.740f, 5e-4f);
  EXPECT_NEAR(wvnum(g, 8.78f, -3, 5000, com2).ak, 0.0688f, 5e-5f);
}

TEST(Wvnum, OverwritesTheWholeRecord) {
  Com2 com2{-99.0f, -99.0f, -99.0f};
  wvnum(g, 8.78f, 3.0f, 20.0f, com2);
  EXPECT_EQ(com2.gravc, g);
  EXPECT_EQ(com2.depthc, 20.0f);
  EXPECT_NEAR(com2.curms, 3.0 * 1852.0 / 3600.0, 1e-6);
}

TEST(WvnumGrid, WaveLengthsOfTheGridPoints) {
  // Point i tries i steps of 2100/10001 m, but never less than 1 m.
  const struct {
    std::int32_t i;
    double length;  // m
  } cases[] = {
      {1, 1.0},                    // 0.21 m, raised to 1 m
      {4, 1.0},                    // 0.84 m, raised to 1 m
      {5, 5 * grid_step},          // 1.05 m, the first point past 1 m
      {573, 573 * grid_step},      // 120.32 m
      {574, 574 * grid_step},      // 120.53 m
      {10000, 10000 * grid_step},  // 2099.79 m, the longest
  };
  for (const auto& c : cases) {
    EXPECT_NEAR(length_of(wvnum_grid::ak(c.i)), c.length, 1e-6 * c.length)
        << "grid point " << c.i;
  }
  EXPECT_EQ(wvnum_grid::nz, 10000);
}

// Residual of the dispersion relation with Doppler shift, in double.
double residual(double length, double tper, double curms, double depth) {
  const double k = 2.0 * std::numbers::pi / length;
  const double omega = 2.0 * std::numbers::pi / tper;
  const double gd = static_cast<double>(g);
  return std::sqrt(gd * k * std::tanh(k * depth)) - (omega - k * curms);
}

// The longest root: walk down from very long waves (negative residual) to
// the first positive residual, then bisect. 0 when there is none down to
// 1 cm (blocked waves).
double longest_root(double tper, double curms, double depth) {
  double hi = 1e5;
  double lo = hi;
  while (residual(lo, tper, curms, depth) <= 0.0) {
    hi = lo;
    lo *= 0.9;
    if (lo < 0.01) return 0.0;
  }
  for (int i = 0; i < 200; ++i) {
    const double mid = 0.5 * (lo + hi);
    (residual(mid, tper, curms, depth) > 0.0 ? lo : hi) = mid;
  }
  return 0.5 * (lo + hi);
}

// The returned length lies within one grid step above the true root. The
// slack of 1e-3 m covers single-precision rounding of the scan.
TEST(Wvnum, LengthWithinOneGridStepAboveTheRoot) {
  const float periods[] = {1.0f,  1.5f,  2.5f,  4.0f, 5.24f,
                           8.78f, 12.0f, 20.0f, 30.0f};
  const float depths[] = {1.0f, 3.0f, 10.0f, 50.0f, 5000.0f};
  const float currents[] = {0.0f, 3.0f, -2.0f};
  for (float curr : currents) {
    for (float tper0 : periods) {
      for (float depth : depths) {
        SCOPED_TRACE(::testing::Message()
                     << tper0 << " s, " << depth << " m, " << curr << " kt");
        Com2 com2{};
        const WaveNumber w = wvnum(g, tper0, curr, depth, com2);
        const double root = longest_root(tper0, curr * 1852.0 / 3600.0, depth);
        if (root == 0.0) {
          EXPECT_EQ(w.ier, 2) << "blocked";
          continue;
        }
        if (root < 1.0) continue;  // below the grid
        EXPECT_EQ(w.ier, 0);
        const double length = length_of(w.ak);
        EXPECT_GT(length, root - 1e-3);
        EXPECT_LE(length, root + grid_step + 1e-3);
      }
    }
  }
}

// The fast wvnum against the literal scan: the wave number and the record
// bit for bit, and the status.
std::uint32_t bits(float x) {
  return std::bit_cast<std::uint32_t>(x);
}

void expect_literal(float grav, float tper0, float curr, float depth) {
  SCOPED_TRACE(::testing::Message() << "g " << grav << ", " << tper0 << " s, "
                                    << curr << " kt, " << depth << " m");
  Com2 want_com2{};
  const WaveNumber want = wvnum_literal(grav, tper0, curr, depth, want_com2);
  Com2 got_com2{7.0f, 7.0f, 7.0f};
  const WaveNumber got = wvnum(grav, tper0, curr, depth, got_com2);
  EXPECT_EQ(bits(got.ak), bits(want.ak)) << got.ak << " vs " << want.ak;
  EXPECT_EQ(got.ier, want.ier);
  EXPECT_EQ(bits(got_com2.curms), bits(want_com2.curms));
  EXPECT_EQ(bits(got_com2.gravc), bits(want_com2.gravc));
  EXPECT_EQ(bits(got_com2.depthc), bits(want_com2.depthc));
}

TEST(WvnumFast, SameBitsAsTheLiteralScanInTheProgramsWaters) {
  const struct {
    float tper0, curr, depth;
  } cases[] = {
      {8.78f, 0.0f, 5000.0f},   // deep water, one root
      {5.24f, 0.0f, 10.0f},     // shallow water
      {8.78f, 3.0f, 5000.0f},   // following current
      {8.78f, -3.0f, 5000.0f},  // opposing: two roots, the long one
      {5.24f, -5.0f, 5000.0f},  // blocked: smallest residual
      {5.24f, -5.0f, 10.0f},    // blocked in shallow water
      {40.0f, 0.0f, 5000.0f},   // root beyond the longest grid wave
      {0.5f, 0.0f, 5000.0f},    // root below the shortest, four equal points
      {1.0f, 15.0f, 1.0f},      // the limits of the entries
      {1.0f, -15.0f, 1.0f},
      {25.0f, -15.0f, 5000.0f},
      {25.0f, 15.0f, 5000.0f},
      {36.7f, 0.0f, 5000.0f},  // the deep-water root near the grid's end
      {0.8f, 0.0f, 5000.0f},   // and near its start
      {12.0f, -0.0f, 1.0f},
  };
  for (const auto& c : cases) expect_literal(g, c.tper0, c.curr, c.depth);
}

// Inputs only a program of its own can pass: these take the literal scan
// or lie at the edges of the search's waters.
TEST(WvnumFast, SameBitsAsTheLiteralScanForAnyFloats) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const float tiny = std::numeric_limits<float>::denorm_min();
  const struct {
    float grav, tper0, curr, depth;
  } cases[] = {
      {nan, 5.0f, 0.0f, 10.0f},
      {g, nan, 0.0f, 10.0f},
      {g, 5.0f, nan, 10.0f},
      {g, 5.0f, 0.0f, nan},
      {inf, 5.0f, 0.0f, 10.0f},
      {g, inf, 0.0f, 10.0f},
      {g, 5.0f, inf, 10.0f},
      {g, 5.0f, -inf, 10.0f},
      {g, 5.0f, 0.0f, inf},
      {0.0f, 5.0f, 0.0f, 10.0f},
      {-g, 5.0f, 0.0f, 10.0f},
      {g, 0.0f, 0.0f, 10.0f},
      {g, -5.0f, 0.0f, 10.0f},
      {g, 5.0f, 0.0f, 0.0f},
      {g, 5.0f, 0.0f, -10.0f},
      {g, 5.0f, 1e30f, 10.0f},
      {g, 5.0f, -1e30f, 10.0f},
      {g, 1e-30f, 0.0f, 10.0f},
      {g, 1e30f, 0.0f, 10.0f},
      {1e-30f, 5.0f, 0.0f, 10.0f},
      {1e30f, 5.0f, 0.0f, 10.0f},
      {g, 5.0f, 0.0f, 1e-30f},
      {g, 5.0f, 0.0f, 1e30f},
      {tiny, 5.0f, tiny, tiny},
      {g, 5.0f, 3e11f, 10.0f},
      {g, 5.0f, -3e11f, 10.0f},
      // At the edges of the waters the search takes.
      {0x1p-20f, 5.0f, 0.0f, 10.0f},
      {0x1p20f, 5.0f, -1000.0f, 10.0f},
      {g, 5.0f, 0.0f, 0x1p-20f},
      {g, 5.0f, 0.0f, 0x1p40f},
      {g, 5.0f, 2e12f, 1.0f},
      {g, 5.0f, -2e12f, 1.0f},
      {g, 1e-11f, 0.0f, 10.0f},
      {1.62f, 5.0f, 0.0f, 10.0f},
  };
  for (const auto& c : cases) expect_literal(c.grav, c.tper0, c.curr, c.depth);
}

// An opposing current just strong enough to block the waves: the two roots
// merge, and near the top of the residual rounding decides the sign over a
// few grid points. Currents in steps of 0.0002 kt across the blocking one.
TEST(WvnumFast, SameBitsWhereTheCurrentJustBlocksTheWaves) {
  const struct {
    float tper0, depth, from, to;
  } waters[] = {
      {5.24f, 5000.0f, -4.5f, -3.5f},  // blocks near -4 kt
      {5.24f, 10.0f, -5.0f, -3.0f},
      {2.0f, 2.0f, -2.0f, -1.0f},
  };
  for (const auto& w : waters) {
    SCOPED_TRACE(::testing::Message() << w.tper0 << " s, " << w.depth << " m");
    const LiteralWater water(g, w.depth);
    int blocked = 0;
    int found = 0;
    for (float curr = w.from; curr <= w.to; curr += 0.0002f) {
      Com2 want_com2{};
      const WaveNumber want = water.scan(w.tper0, curr, want_com2);
      Com2 got_com2{};
      const WaveNumber got = wvnum(g, w.tper0, curr, w.depth, got_com2);
      ASSERT_EQ(bits(got.ak), bits(want.ak))
          << w.tper0 << " s, " << w.depth << " m, " << curr << " kt";
      ASSERT_EQ(got.ier, want.ier);
      (want.ier == 2 ? blocked : found) += 1;
    }
    // The range holds both sides of the blocking current.
    EXPECT_GT(blocked, 0);
    EXPECT_GT(found, 0);
  }
}

// A residual of exactly 0 at a grid point: it pairs at 0 with both
// neighbours, so the scan takes the next, longer point (0 times a negative
// residual is still at or below 0), and 0 counts as positive for ier.
TEST(WvnumFast, ResidualOfExactlyZeroAtAGridPoint) {
  const float depth = 5000.0f;
  const float dw = 2100.0f / 10001.0f;
  // A grid point near 100 m and a period whose angular frequency is exactly
  // v2 there (not every float frequency is the quotient of a period).
  for (std::int32_t at = 480; at < 520; ++at) {
    const float ak = (pi + pi) / (static_cast<float>(at) * dw);
    const float v2 = kdisper(0.0f, ak, Com2{0.0f, g, depth}).v2;
    float tper0 = std::nextafter((pi + pi) / v2, 0.0f);
    for (int step = 0; step < 3 && (pi + pi) / tper0 != v2; ++step) {
      tper0 = std::nextafter(tper0, 100.0f);
    }
    if ((pi + pi) / tper0 != v2) continue;
    SCOPED_TRACE(::testing::Message() << "grid point " << at);
    Com2 com2{};
    const WaveNumber literal = wvnum_literal(g, tper0, 0.0f, depth, com2);
    EXPECT_EQ(literal.ier, 0);
    const float next = (pi + pi) / (static_cast<float>(at + 1) * dw);
    EXPECT_EQ(bits(literal.ak), bits(next));
    expect_literal(g, tper0, 0.0f, depth);
    return;
  }
  FAIL() << "no period gives a residual of exactly 0";
}

}  // namespace
}  // namespace physics

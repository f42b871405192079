#include "morvelstandrik/physics/wvnum.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "morvelstandrik/physics/float_math.hpp"

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

}  // namespace
}  // namespace physics

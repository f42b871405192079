#include "morvelstandrik/physics/deepw.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace physics {
namespace {

// Tolerances are the rounding of the quoted values.
struct GrowthCase {
  const char* what;
  float wind, dura, fetch;
  float hs0, hs0_tol;
  float tper0, tper0_tol;
  float wlen0, wlen0_tol;
};

TEST(Deepw, GrowthCases) {
  const GrowthCase cases[] = {
      {"fetch-limited", 20, 10, 100, 1.883f, 5e-4f, 5.237f, 5e-4f, 42.78f,
       5e-3f},
      {"duration-limited", 30, 24, 500, 4.97f, 5e-3f, 8.78f, 5e-3f, 120.3f,
       5e-2f},
      {"period reduction damped above 2 s", 60, 1, 1, 0.99f, 5e-3f, 1.33f,
       5e-3f, 2.75f, 5e-3f},
      {"period raised to its floor", 1, 1, 1, 0.0057f, 5e-5f, 1.0f, 0.0f, 1.56f,
       0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const DeepWater d = deepw(c.wind, c.dura, c.fetch);
    EXPECT_NEAR(d.hs0, c.hs0, c.hs0_tol);
    EXPECT_NEAR(d.tper0, c.tper0, c.tper0_tol);
    EXPECT_NEAR(d.wlen0, c.wlen0, c.wlen0_tol);
  }
}

// The smaller of the two limited heights wins: with the other limit removed
// (a fetch or duration too long to matter) the height is the one that was
// not chosen before.
TEST(Deepw, SmallerOfDurationAndFetchHeight) {
  const struct {
    const char* what;
    float wind, dura, fetch, hs0;
  } cases[] = {
      {"20 kt, 10 h: duration height above the 100 km fetch height", 20, 10,
       1e6f, 1.94f},
      {"30 kt, 500 km: fetch height above the 24 h duration height", 30, 1e6f,
       500, 5.03f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_NEAR(deepw(c.wind, c.dura, c.fetch).hs0, c.hs0, 5e-3f);
  }
}

TEST(Deepw, FullyDevelopedHeight) {
  const struct {
    float wind, hsinf, tol;
  } cases[] = {{20, 2.36f, 5e-3f}, {30, 5.31f, 5e-3f}, {65, 24.93f, 5e-3f}};
  for (const auto& c : cases) {
    EXPECT_NEAR(deepw(c.wind, 1, 1).hsinf, c.hsinf, c.tol) << c.wind << " kt";
  }
  // Storm wind, long duration, long fetch: close to, but below, hsinf.
  const DeepWater storm = deepw(65, 200, 5000);
  EXPECT_NEAR(storm.hs0, 24.82f, 5e-3f);
  EXPECT_LT(storm.hs0, storm.hsinf);
}

// Growth never passes the fully developed height, never falls as duration
// or fetch grow, and the period keeps its floor. One of the two limits is
// held out of the way by a span too long to matter.
TEST(Deepw, HeightBoundedAndGrowingWithDurationAndFetch) {
  const float winds[] = {1, 5, 10, 20, 40, 65, 70};
  const float spans[] = {1, 3, 10, 48, 200, 1e4f, 1e7f};
  for (float wind : winds) {
    float by_dura = 0.0f;
    float by_fetch = 0.0f;
    for (float span : spans) {
      SCOPED_TRACE(::testing::Message() << wind << " kt, span " << span);
      const DeepWater d = deepw(wind, span, 1e7f);
      const DeepWater f = deepw(wind, 1e7f, span);
      EXPECT_LE(d.hs0, d.hsinf);
      EXPECT_LE(f.hs0, f.hsinf);
      EXPECT_GE(d.hs0, by_dura);
      EXPECT_GE(f.hs0, by_fetch);
      EXPECT_GE(d.tper0, 1.0f);
      by_dura = d.hs0;
      by_fetch = f.hs0;
    }
  }
}

// A current as fast as the wind leaves a relative wind of 0, where the
// growth laws would form 0/0 and return NaN: the calm-sea limit instead.
TEST(Deepw, CalmSeaForNoWind) {
  const float calm_winds[] = {0.0f, -0.0f, -3.0f, 1e-30f};
  for (float wind : calm_winds) {
    const DeepWater d = deepw(wind, 10, 100);
    EXPECT_EQ(d.hsinf, 0.0f) << wind;
    EXPECT_EQ(d.ht0, 0.0f) << wind;
    EXPECT_EQ(d.hf0, 0.0f) << wind;
    EXPECT_EQ(d.hs0, 0.0f) << wind;
    EXPECT_EQ(d.tper0, 1.0f) << wind;
    EXPECT_EQ(d.wlen0, 1.56f) << wind;
  }
}

// The calm result is the limit the laws approach: ever weaker winds give
// vanishing heights and coefficients at the floor period and its length.
TEST(Deepw, WeakWindsApproachTheCalmSea) {
  const float winds[] = {1e-2f, 1e-4f, 1e-6f};
  float bound = 0.01f;
  for (float wind : winds) {
    const DeepWater d = deepw(wind, 10, 100);
    EXPECT_TRUE(std::isfinite(d.hs0)) << wind;
    EXPECT_GT(d.hs0, 0.0f) << wind;
    EXPECT_LT(d.hs0, bound) << wind;
    EXPECT_LT(d.ht0, bound) << wind;
    EXPECT_LT(d.hf0, bound) << wind;
    EXPECT_EQ(d.tper0, 1.0f) << wind;
    EXPECT_EQ(d.wlen0, 1.56f) << wind;
    bound *= 1e-2f;
  }
}

}  // namespace
}  // namespace physics

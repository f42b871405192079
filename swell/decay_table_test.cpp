#include "morvelstandrik/swell/decay_table.hpp"

#include <cmath>
#include <limits>
#include <type_traits>

#include <gtest/gtest.h>

namespace swell {
namespace {

// The observed period and height are taken by value: the caller's entries
// stay as they were for the result screen.
static_assert(std::is_same_v<decltype(&swelld), Inversion (*)(float, float)>);

TEST(SwellTable, RowHeightsAndDistancesAtTenSeconds) {
  const float height[] = {0.8699f, 2.7994f, 6.8697f, 11.3191f};
  const float dist[] = {1088.63f, 462.18f, 212.51f, 90.22f};
  for (std::int32_t i = 1; i <= 4; ++i) {
    EXPECT_NEAR(hswell(10.0f, i), height[i - 1], 0.00005f) << "row " << i;
    EXPECT_NEAR(dista(10.0f, i), dist[i - 1], 0.005f) << "row " << i;
  }
}

TEST(SwellTable, RowDistancesBelowTheThresholds) {
  struct Case {
    float s;
    float dist[4];
  };
  const Case cases[] = {
      {9.6f, {912.15f, 315.01f, 90.22f, 0.0f}},  // 9.6 is row 4's threshold
      {8.0f, {280.0f, 0.0f, 0.0f, 0.0f}},
      {7.0f, {0.0f, 0.0f, 0.0f, 0.0f}},
      {0.1f, {0.0f, 0.0f, 0.0f, 0.0f}},
  };
  for (const Case& c : cases) {
    for (std::int32_t i = 1; i <= 4; ++i) {
      const float d = dista(c.s, i);
      if (c.dist[i - 1] == 0.0f) {
        EXPECT_EQ(d, 0.0f) << c.s << " s, row " << i;
      } else {
        EXPECT_NEAR(d, c.dist[i - 1], 0.005f) << c.s << " s, row " << i;
      }
    }
  }
}

TEST(Swelld, ObservedSwells) {
  struct Case {
    float period, height;
    std::int32_t ier;
    float wind, dist;
  };
  const Case cases[] = {
      {10.0f, 3.0f, 0, 30.49f, 449.87f},   // rows 2 and 3
      {12.0f, 2.0f, 0, 31.16f, 1280.25f},  //
      {8.0f, 3.0f, 0, 24.00f, 167.91f},    // rows 1 and 2, row 2 at 0 km
      {9.6f, 5.0f, 0, 34.12f, 222.29f},    //
      {10.0f, 0.5f, 1, 20.0f, 1088.63f},   // below row 1
      {10.0f, 0.0f, 1, 20.0f, 1088.63f},   // no swell at all
      {10.0f, -3.0f, 1, 20.0f, 1088.63f},  //
      {10.0f, 12.0f, 2, 50.0f, 90.22f},    // above row 4
      {0.1f, 1.0f, 1, 20.0f, 0.0f},        // short periods: field at 0 km
      {5.0f, 100.0f, 2, 50.0f, 0.0f},      //
  };
  for (const Case& c : cases) {
    const Inversion r = swelld(c.period, c.height);
    SCOPED_TRACE(testing::Message() << c.period << " s, " << c.height << " m");
    EXPECT_EQ(r.ier, c.ier);
    EXPECT_NEAR(r.wind, c.wind, 0.005f);
    EXPECT_NEAR(r.dist, c.dist, 0.005f);
  }
  const Inversion r = swelld(6.0f, 5.0f);
  EXPECT_EQ(r.ier, 0);
  EXPECT_EQ(r.dist, 0.0f);
  EXPECT_GT(r.wind, 20.0f);
  EXPECT_LT(r.wind, 30.0f);
}

TEST(Swelld, HeightOfARowGivesThatRowExactly) {
  const float nw[] = {20.0f, 30.0f, 40.0f, 50.0f};
  for (const float s : {8.0f, 9.6f, 10.0f, 12.0f, 20.0f}) {
    for (std::int32_t k = 1; k <= 4; ++k) {
      const Inversion r = swelld(s, hswell(s, k));
      SCOPED_TRACE(testing::Message() << s << " s, row " << k);
      EXPECT_EQ(r.ier, 0);
      EXPECT_EQ(r.wind, nw[k - 1]);
      EXPECT_EQ(r.dist, dista(s, k));
    }
  }
}

// Once every row height has vanished, a height of 0 used to give 0 / 0 as
// interpolation weights; it now takes row 1 whole.
TEST(Swelld, VanishedRowHeightsTakeTheLowerRow) {
  const float inf = std::numeric_limits<float>::infinity();
  for (const float s : {1.0e17f, 1.0e30f, inf}) {
    SCOPED_TRACE(testing::Message() << s << " s");
    for (std::int32_t i = 1; i <= 4; ++i) ASSERT_EQ(hswell(s, i), 0.0f);
    const Inversion r = swelld(s, 0.0f);
    EXPECT_EQ(r.ier, 0);
    EXPECT_EQ(r.wind, 20.0f);
    EXPECT_EQ(r.dist, dista(s, 1));
    EXPECT_FALSE(std::isnan(r.dist));
    EXPECT_EQ(swelld(s, 0.001f).ier, 2);
    EXPECT_EQ(swelld(s, -0.001f).ier, 1);
  }
  EXPECT_EQ(swelld(inf, 0.0f).dist, inf);
}

}  // namespace
}  // namespace swell

#include "morvelstandrik/windsea/engine.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/physics/self_check_recorder_test.hpp"

namespace windsea {
namespace {

Conditions sea(float wind, float dura, float fetch, float depth, float curr,
               Model model = Model::kDeepWater) {
  return Conditions{wind, dura, fetch, depth, curr, model};
}

TEST(Evaluate, CarriesTheDeepWaterSeaIntoShallowWater) {
  const Report r = evaluate(sea(20, 10, 100, 10, 0));
  EXPECT_NEAR(1.883f, r.deep.height, 0.0005f);
  EXPECT_NEAR(5.237f, r.deep.period, 0.0005f);
  EXPECT_NEAR(42.78f, r.deep.length, 0.005f);
  ASSERT_TRUE(r.height && r.length);
  EXPECT_NEAR(1.744f, *r.height, 0.0005f);
  EXPECT_NEAR(39.48f, *r.length, 0.005f);
  EXPECT_EQ(r.deep.period, r.period);
  EXPECT_EQ(Status::kRegular, r.status);
  EXPECT_EQ(5, r.beaufort);
  ASSERT_TRUE(r.steepness.known && r.factor.known && r.sea_sickness.known);
  EXPECT_FLOAT_EQ(*r.height / *r.length, r.steepness.shown);
  EXPECT_FLOAT_EQ(r.steepness.shown / (r.deep.height / r.deep.length),
                  r.factor.shown);
  EXPECT_NEAR(-3.97f, r.stopping_current, 0.005f);
  EXPECT_EQ(17, r.sea_sickness.value());
  EXPECT_EQ(680, r.waves_per_hour);
  // Fetch-limited: the fetch allows 1.88 m, the duration 1.94 m, of a fully
  // developed 0.0059 * 20^2 = 2.36 m.
  EXPECT_EQ(GrowthLimit::kFetch, r.limited_by);
  EXPECT_FLOAT_EQ(2.36f, r.fully_developed_height);
  ASSERT_EQ(1, r.warning_count);
  EXPECT_EQ(Warning::kDangerousShoal, r.warnings()[0]);
}

TEST(Evaluate, DurationLimitedSea) {
  // 30 kt for 24 h over 500 km: the duration allows 4.97 m, the fetch 5.03.
  const Report r = evaluate(sea(30, 24, 500, 5000, 0));
  EXPECT_EQ(GrowthLimit::kDuration, r.limited_by);
  EXPECT_NEAR(4.97f, r.deep.height, 0.005f);
  EXPECT_NEAR(8.78f, r.deep.period, 0.005f);
  EXPECT_FLOAT_EQ(0.0059f * 900.0f, r.fully_developed_height);
}

TEST(Evaluate, RelativeWindModelReportsTheRelativeSea) {
  // A current of 5 kt with a 20 kt wind: the water sees 15 kt.
  const Report r = evaluate(sea(20, 10, 100, 5000, 5, Model::kRelativeWind));
  const physics::DeepWater rel = physics::deepw(15, 10, 100);
  EXPECT_EQ(rel.hs0, r.height);
  EXPECT_EQ(rel.wlen0, r.length);
  EXPECT_EQ(rel.tper0, r.period);
  EXPECT_EQ(rel.hsinf, r.fully_developed_height);
  // The status still comes from the transform of the 20 kt sea.
  const Report m1 = evaluate(sea(20, 10, 100, 5000, 5));
  EXPECT_EQ(m1.status, r.status);
  EXPECT_EQ(m1.deep.height, r.deep.height);
}

TEST(Evaluate, CurrentAsFastAsTheWindRaisesNoSeaAndNoNaN) {
  const Report r = evaluate(sea(10, 10, 100, 5000, 10, Model::kRelativeWind));
  EXPECT_EQ(0.0f, r.height);
  EXPECT_EQ(1.56f, r.length);
  EXPECT_EQ(1.0f, r.period);
  EXPECT_EQ(0.0f, r.steepness.value());
  EXPECT_EQ(0.0f, r.factor.value());
  EXPECT_EQ(0, r.sea_sickness.value());
  EXPECT_FALSE(std::isnan(r.stopping_current));
}

TEST(Evaluate, BlockedSeaHasNoHeightNoLengthAndNoTableValues) {
  // 5 kt against a 5.24 s sea blocks it; at -15 kt the wave number is gone.
  const Report r = evaluate(sea(20, 10, 100, 5000, -15));
  EXPECT_EQ(Status::kBlocked, r.status);
  EXPECT_FALSE(r.height);
  EXPECT_FALSE(r.length);
  EXPECT_FALSE(r.steepness.known);
  EXPECT_FALSE(r.factor.known);
  EXPECT_FALSE(r.sea_sickness.known);
  // The report still prints the figures formed from the transform's
  // no-height value of 9999.99 m over the length it found.
  physics::Com2 com2{};
  physics::SelfCheckRecorder check;
  const physics::ShoalResult blocked = physics::curwav(
      gravity, 5000.0f, -15.0f, r.deep.period, r.deep.height, com2, check);
  EXPECT_EQ(9999.99f / blocked.wlen2, r.steepness.shown);
  EXPECT_EQ(r.steepness.shown / (r.deep.height / r.deep.length),
            r.factor.shown);
  EXPECT_EQ(sea_sickness(9999.99f, r.period, 20.0f), r.sea_sickness.shown);
  ASSERT_EQ(1, r.warning_count);  // deep water: no shoal line
  EXPECT_EQ(Warning::kCapsizing, r.warnings()[0]);
  EXPECT_FALSE(r.development);

  // In the relative-wind model the sea of the relative wind has a height,
  // but the report's length is still lost with the transform's status.
  const Report m0 = evaluate(sea(20, 10, 100, 5000, -15, Model::kRelativeWind));
  EXPECT_EQ(Status::kBlocked, m0.status);
  EXPECT_TRUE(m0.height && m0.steepness.known && m0.sea_sickness.known);
  EXPECT_FALSE(m0.length);
}

TEST(Evaluate, HeightGrownBeyondFiveTimesIsNoHeightYetKeepsItsLength) {
  // Against a current just short of blocking, the 1.88 m sea would grow
  // more than fivefold: the transform gives no height, the length stays,
  // and such a height grounds in any water shallower than 4999.995 m.
  bool seen = false;
  for (float curr = -3.9f; curr > -5.0f && !seen; curr -= 0.01f) {
    const Report r = evaluate(sea(20, 10, 100, 4000, curr));
    if (r.status == Status::kBlocked || r.height) continue;
    seen = true;
    EXPECT_TRUE(r.length) << curr;
    EXPECT_FALSE(r.steepness.known) << curr;
    ASSERT_EQ(1, r.warning_count) << curr;
    EXPECT_EQ(Warning::kGrounding, r.warnings()[0]) << curr;
  }
  EXPECT_TRUE(seen);
}

TEST(Report, SeaSicknessAndStoppingCurrent) {
  EXPECT_EQ(18, sea_sickness(2.0f, 6.0f, 20.0f));
  EXPECT_EQ(57, sea_sickness(4.0f, 8.0f, 40.0f));
  EXPECT_EQ(17, sea_sickness(1.744f, 5.237f, 20.0f));
  EXPECT_EQ(0, sea_sickness(0.1f, 8.0f, 20.0f));
  EXPECT_EQ(90, sea_sickness(20.0f, 1.0f, 70.0f));
  EXPECT_NEAR(-4.55f, umax(6.0f), 0.005f);
  EXPECT_NEAR(-6.07f, umax(8.0f), 0.005f);
}

struct WarningCase {
  const char* name;
  float wind, depth, hs2, wlen2, stp2;
  std::int32_t ier;
  std::vector<Warning> lines;
  bool table;
};

TEST(Report, WarningsInTheirOrder) {
  using W = Warning;
  const float none = 9999.99f;  // the transform's "no height"
  // clang-format off
  const WarningCase cases[] = {
      {"light wind, no wave number",       9.9f, 1,    3,      17,     0.2f,    3, {W::kCriticalSeaState},                      false},
      {"light wind, shallow and steep",    9.9f, 1,    3,      20,     0.2f,    0, {},                                          false},
      {"grounding",                        20,   1,    3,      20,     0.15f,   0, {W::kGrounding},                             false},
      {"grounding on no height",           20,   4999, none,   60,     0.1f,    1, {W::kGrounding},                             false},
      {"no wave number in shallow water",  20,   1,    none,   17,     0.5f,    3, {W::kDangerousShoal, W::kCapsizing},         false},
      {"no wave number below 2499.5 m",    20,   2499, none,   17,     0.5f,    3, {W::kDangerousShoal, W::kCapsizing},         false},
      {"no wave number in deep water",     20,   2500, none,   17,     0.5f,    3, {W::kCapsizing},                             false},
      {"no wave number, low relative sea", 20,   10,   0.4f,   17,     0.02f,   3, {},                                          true},
      {"short waves",                      20,   5000, 0.6f,   1.0f,   0.6f,    1, {},                                          true},
      {"low waves",                        20,   0.3f, 0.4f,   8,      0.05f,   1, {},                                          true},
      {"dangerous shoal waves",            20,   10,   1.744f, 39.48f, 0.044f,  0, {W::kDangerousShoal},                        true},
      {"unpleasant shoal waves",           20,   10,   0.8f,   39.48f, 0.02f,   0, {W::kUnpleasantShoal},                       true},
      {"steepness exactly 0.1",            20,   5000, 2,      20,     0.1f,    0, {W::kBreaking},                              true},
      {"steepness exactly 0.06",           20,   5000, 2,      20,     0.06f,   0, {W::kSomeBreaking},                          true},
      {"steepness just below 0.06",        20,   5000, 2,      20,     0.0599f, 0, {},                                          true},
      {"breakers",                         20,   5000, 2,      20,     0.2f,    1, {W::kHazardousBreakers},                     true},
      {"breakers on a shoal",              20,   5,    2,      20,     0.2f,    1, {W::kDangerousShoal, W::kHazardousBreakers}, true},
      {"steep shoal waves",                20,   5,    2,      20,     0.1f,    0, {W::kDangerousShoal, W::kBreaking},          true},
  };
  // clang-format on
  for (const WarningCase& c : cases) {
    const Verdict v = warnings(c.wind, c.depth, c.hs2, c.wlen2, c.stp2, c.ier);
    EXPECT_EQ(c.lines,
              std::vector<Warning>(v.list.begin(), v.list.begin() + v.count))
        << c.name;
    EXPECT_EQ(c.table, v.table) << c.name;
  }
}

TEST(Development, WaveCountsAndSeaScale) {
  const std::pair<std::int32_t, std::int32_t> counts[] = {
      {6967, 6900},   {27428, 27000}, {543, 540},     {54, 54},
      {10000, 10000}, {1000, 1000},   {10001, 10000}, {1001, 1000},
      {2062, 2000},   {8249, 8200},   {32996, 32000}, {100, 100},
      {10800, 10000},  // the most a period of 1 s gives: never above 10000
  };
  for (const auto& [count, reduced] : counts) {
    EXPECT_EQ(reduced, reduce_count(count)) << count;
  }
  // Lower height limit of each sea-scale number.
  const float limits[] = {0.040f, 0.288f, 0.845f,  1.780f, 3.147f,
                          4.992f, 7.359f, 10.283f, 13.801f};
  for (int n = 1; n <= 9; ++n) {
    EXPECT_EQ(n - 1, sea_scale(limits[n - 1] - 0.002f)) << n;
    EXPECT_EQ(n, sea_scale(limits[n - 1] + 0.002f)) << n;
  }
  EXPECT_EQ(9, sea_scale(999999.0f));
  EXPECT_EQ(0, sea_scale(0.0f));
}

TEST(Development, FetchLimitedSeaOverTheNextHours) {
  const Report r = evaluate(sea(20, 10, 100, 10, 0));
  ASSERT_TRUE(r.development);
  const std::int32_t hours[] = {3, 12, 48};
  const std::int32_t waves[] = {2000, 8200, 32000};
  const float hmax[] = {3.40f, 3.70f, 3.97f};
  for (int i = 0; i < 3; ++i) {
    const Horizon& h = (*r.development)[i];
    EXPECT_EQ(hours[i], h.hours);
    EXPECT_EQ(waves[i], h.waves);
    ASSERT_TRUE(h.height && h.hmax && h.sea_scale);
    EXPECT_NEAR(1.744f, *h.height, 0.0005f);
    EXPECT_NEAR(hmax[i], *h.hmax, 0.005f);
    EXPECT_EQ(3, *h.sea_scale);
  }
}

TEST(Development, HeightHeldWhenItWouldFall) {
  // 10 kt for 10 h over 500 km in 1 m of water against 1 kt: the longer the
  // wind blows, the longer the waves and the lower they come out of the
  // shoal, so the 12-hour horizon's own height is below the 3-hour one's.
  // The table holds it there: Hmax 1.5, 1.7, 1.8 m.
  const Report r = evaluate(sea(10, 10, 500, 1, -1));
  ASSERT_TRUE(r.development);
  const auto& d = *r.development;
  const Report at3 = evaluate(sea(10, 13, 500, 1, -1));
  const Report at12 = evaluate(sea(10, 22, 500, 1, -1));
  ASSERT_TRUE(at3.height && at12.height);
  ASSERT_LT(*at12.height, *at3.height);
  EXPECT_EQ(*at3.height, d[0].height);
  EXPECT_EQ(*at3.height, d[1].height);  // held, not at12's
  const float shown[] = {1.5f, 1.7f, 1.8f};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(shown[i], *d[i].hmax, 0.05f) << i;
  }
}

TEST(Development, LimitsAndNoValues) {
  // In water 1 m deep no single wave exceeds twice the depth: a 1.48 m sea
  // would otherwise give 1.48 * 1.94 = 2.9 m and more.
  Report r = evaluate(sea(16, 10, 100, 1, 0));
  ASSERT_TRUE(r.development);
  ASSERT_GT(*r.height, 1.4f);
  for (const Horizon& h : *r.development) EXPECT_EQ(2.0f, *h.hmax);
  // A low relative sea (25 kt for an hour over 1 km) over waves that 15 kt
  // against the wind block: the table follows, without values.
  r = evaluate(sea(10, 1, 1, 5000, -15, Model::kRelativeWind));
  ASSERT_EQ(Status::kBlocked, r.status);
  ASSERT_LT(*r.height, 0.5f);
  ASSERT_TRUE(r.development);
  for (const Horizon& h : *r.development) {
    EXPECT_FALSE(h.hmax);
    EXPECT_FALSE(h.sea_scale);
  }
  // A strong wind over a long fetch: Hmax is held at 30 m, the height never
  // falls from one horizon to the next.
  for (float depth : {2.0f, 3.0f, 6.0f, 20.0f, 5000.0f}) {
    r = evaluate(sea(70, 1, 5000, depth, 3));
    if (!r.development) continue;
    const auto& d = *r.development;
    for (int i = 0; i < 3; ++i) {
      ASSERT_TRUE(d[i].hmax && d[i].height) << depth;
      EXPECT_LE(*d[i].hmax, 30.0f) << depth;
      EXPECT_GE(*d[i].hmax, std::min({*d[i].height, 30.0f, 2 * depth}))
          << depth;
      if (i > 0) {
        EXPECT_GE(*d[i].height, *d[i - 1].height) << depth;
      }
    }
  }
}

// Where the fetch has stopped the growth, the horizons raise the very same
// deep-water sea as the report, and their transform is taken over from the
// step before. Each horizon's height must be the one a fresh transform of
// its own deep-water sea gives.
TEST(Develop, HorizonsOfAFetchLimitedSeaAreTheirOwnTransforms) {
  std::mt19937 rng(5);
  std::uniform_int_distribution<int> wind(10, 60), dura(5, 150), fetch(2, 40),
      depth(3, 300), curr(-3, 3);
  int repeated = 0;
  for (int k = 0; k < 300; ++k) {
    const Conditions in =
        sea(static_cast<float>(wind(rng)), static_cast<float>(dura(rng)),
            static_cast<float>(fetch(rng)), static_cast<float>(depth(rng)),
            static_cast<float>(curr(rng)));
    const Report r = evaluate(in);
    if (!r.development) continue;
    float held = 0.0f;
    physics::DeepWater before = physics::deepw(in.wind, in.dura, in.fetch);
    for (const Horizon& h : *r.development) {
      const physics::DeepWater own = physics::deepw(
          in.wind, in.dura + static_cast<float>(h.hours), in.fetch);
      repeated += own.hs0 == before.hs0 && own.tper0 == before.tper0;
      before = own;
      physics::Com2 com2{};
      physics::SelfCheckRecorder check;
      const physics::ShoalResult fresh = physics::curwav(
          gravity, in.depth, in.curr, own.tper0, own.hs0, com2, check);
      if (fresh.hs2 > 40.0f) break;  // the table holds its limits from here
      held = std::max(held, fresh.hs2);
      ASSERT_TRUE(h.height) << k;
      EXPECT_EQ(held, *h.height) << k << " " << h.hours;
    }
  }
  EXPECT_GT(repeated, 100);  // the taken-over transforms were exercised
}

}  // namespace
}  // namespace windsea

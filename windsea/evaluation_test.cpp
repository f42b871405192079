#include "morvelstandrik/windsea/evaluation.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "morvelstandrik/physics/deepw.hpp"

namespace windsea {
namespace {

class NoCheck final : public physics::SelfCheck {
 public:
  void group_velocity_mismatch(float, float) override { ++raised; }
  int raised = 0;
};

Inputs inputs(float wind, float dura, float fetch, float depth, float curr,
              std::int32_t model = 1) {
  return Inputs{wind, 0, dura, fetch, depth, curr, model, 9.81f};
}

TEST(Evaluate, CarriesTheDeepWaterSeaIntoShallowWater) {
  NoCheck check;
  physics::Com2 com2{};
  const Evaluation e = evaluate(inputs(20, 10, 100, 10, 0), 10, com2, check);
  EXPECT_NEAR(1.883f, e.hs0, 0.0005f);
  EXPECT_NEAR(5.237f, e.tper0, 0.0005f);
  EXPECT_NEAR(42.78f, e.wlen0, 0.005f);
  EXPECT_NEAR(1.744f, e.hs2, 0.0005f);
  EXPECT_NEAR(39.48f, e.wlen2, 0.005f);
  EXPECT_EQ(e.tper0, e.tper2);
  EXPECT_EQ(0, e.ier);
  EXPECT_FLOAT_EQ(e.hs2 / e.wlen2, e.stp2);
  EXPECT_FLOAT_EQ(e.stp2 / e.stp0, e.ss0);
  // The development table reads the entered depth back from the record.
  EXPECT_EQ(10.0f, com2.depthc);
}

TEST(Evaluate, RelativeWindModelReportsTheRelativeSea) {
  NoCheck check;
  physics::Com2 com2{};
  // A current of 5 kt with a 20 kt wind: the water sees 15 kt.
  const Evaluation e =
      evaluate(inputs(20, 10, 100, 5000, 5, /*model=*/0), 10, com2, check);
  const physics::DeepWater rel = physics::deepw(15, 10, 100);
  EXPECT_EQ(15.0f, e.winc);
  EXPECT_EQ(rel.hs0, e.hs2);
  EXPECT_EQ(rel.wlen0, e.wlen2);
  EXPECT_EQ(rel.tper0, e.tper2);
  // The status still comes from the transform of the 20 kt sea.
  const Evaluation m1 = evaluate(inputs(20, 10, 100, 5000, 5), 10, com2, check);
  EXPECT_EQ(m1.ier, e.ier);
  EXPECT_EQ(m1.hs0, e.hs0);
}

TEST(Evaluate, CurrentAsFastAsTheWindRaisesNoSeaAndNoNaN) {
  NoCheck check;
  physics::Com2 com2{};
  const Inputs in = inputs(10, 10, 100, 5000, 10, /*model=*/0);
  const Evaluation e = evaluate(in, 10, com2, check);
  EXPECT_EQ(0.0f, e.winc);
  EXPECT_EQ(0.0f, e.hs2);
  EXPECT_EQ(1.56f, e.wlen2);
  EXPECT_EQ(1.0f, e.tper2);
  EXPECT_EQ(0.0f, e.stp2);
  EXPECT_EQ(0.0f, e.ss0);
  EXPECT_EQ(0, sea_sickness(e.hs2, e.tper2, in.wind, in.g));
  EXPECT_FALSE(std::isnan(umax(in.g, e.tper2)));
}

TEST(Report, SeaSicknessAndStoppingCurrent) {
  EXPECT_EQ(18, sea_sickness(2.0f, 6.0f, 20.0f, 9.81f));
  EXPECT_EQ(57, sea_sickness(4.0f, 8.0f, 40.0f, 9.81f));
  EXPECT_EQ(17, sea_sickness(1.744f, 5.237f, 20.0f, 9.81f));
  EXPECT_EQ(0, sea_sickness(0.1f, 8.0f, 20.0f, 9.81f));
  EXPECT_EQ(90, sea_sickness(9999.99f, 1.0f, 70.0f, 9.81f));
  EXPECT_NEAR(-4.55f, umax(9.81f, 6.0f), 0.005f);
  EXPECT_NEAR(-6.07f, umax(9.81f, 8.0f), 0.005f);
  EXPECT_NEAR(-3.97f, umax(9.81f, 5.237f), 0.005f);
}

struct WarningCase {
  const char* name;
  float wind, depth, hs2, wlen2, stp2;
  std::int32_t ier;
  std::vector<std::string> lines;
  bool table;
};

TEST(Report, WarningsInTheirOrder) {
  const std::string critical = "       >>> Warning: critical sea state ";
  const std::string ground = "???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !";
  const std::string shoal = "    >> WARNING: dangerous shoal waves !";
  const std::string mild = "    >>  unpleasant shoal waves !";
  const std::string breaking = "    >> WARNING: breaking waves ! ";
  const std::string some = "    >> Warning: some breaking waves may appear ! ";
  const std::string hazard = " >>>>> DANGER: HAZARDOUS BREAKERS  !!!!!! ";
  const std::string capsize =
      " >>>###>>> DANGER of CAPSIZING: HAZARDOUS BREAKERS !!!!!!!";
  const WarningCase cases[] = {
      {"light wind, no wave number",
       9.9f,
       1,
       3,
       4999,
       0.2f,
       3,
       {critical},
       false},
      {"light wind, shallow and steep", 9.9f, 1, 3, 20, 0.2f, 0, {}, false},
      {"grounding", 20, 1, 3, 20, 0.15f, 0, {ground}, false},
      {"grounding on the marker height",
       20,
       4999,
       9999.99f,
       4999,
       0.1f,
       1,
       {ground},
       false},
      {"no wave number in shallow water",
       20,
       1,
       9999.99f,
       4999,
       0.5f,
       3,
       {shoal, capsize},
       false},
      {"no wave number in deep water",
       20,
       3000,
       9999.99f,
       4999,
       0.5f,
       3,
       {capsize},
       false},
      {"short waves", 20, 5000, 0.6f, 1.0f, 0.6f, 1, {}, true},
      {"low waves", 20, 0.3f, 0.4f, 8, 0.05f, 1, {}, true},
      {"dangerous shoal waves",
       20,
       10,
       1.744f,
       39.48f,
       0.044f,
       0,
       {shoal},
       true},
      {"unpleasant shoal waves", 20, 10, 0.8f, 39.48f, 0.02f, 0, {mild}, true},
      {"steepness exactly 0.1", 20, 5000, 2, 20, 0.1f, 0, {breaking}, true},
      {"steepness exactly 0.06", 20, 5000, 2, 20, 0.06f, 0, {some}, true},
      {"steepness just below 0.06", 20, 5000, 2, 20, 0.0599f, 0, {}, true},
      {"breakers", 20, 5000, 2, 20, 0.2f, 1, {hazard}, true},
      {"breakers on a shoal", 20, 5, 2, 20, 0.2f, 1, {shoal, hazard}, true},
      {"steep shoal waves", 20, 5, 2, 20, 0.1f, 0, {shoal, breaking}, true},
  };
  for (const WarningCase& c : cases) {
    Inputs in = inputs(c.wind, 10, 100, c.depth, 0);
    Evaluation e{};
    e.hs2 = c.hs2;
    e.wlen2 = c.wlen2;
    e.stp2 = c.stp2;
    e.ier = c.ier;
    const Verdict v = warnings(in, e);
    std::vector<std::string> lines;
    for (int i = 0; i < v.count; ++i) lines.emplace_back(v.lines[i]);
    EXPECT_EQ(c.lines, lines) << c.name;
    EXPECT_EQ(c.table, v.table) << c.name;
  }
}

TEST(Development, WaveCountsAndSeaScale) {
  const std::pair<std::int32_t, std::int32_t> counts[] = {
      {6967, 6900},   {27428, 27000}, {543, 540},     {54, 54},
      {10000, 10000}, {1000, 1000},   {10001, 10000}, {1001, 1000},
      {2062, 2000},   {8249, 8200},   {32996, 32000}, {100, 100},
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
  NoCheck check;
  physics::Com2 com2{};
  const Inputs in = inputs(20, 10, 100, 10, 0);
  const Evaluation e = evaluate(in, 10, com2, check);
  const Development dev = develop(in, e, com2, check);
  EXPECT_EQ(680, dev.nav);
  EXPECT_EQ((std::array<std::int32_t, 3>{3, 12, 48}), dev.mhrs);
  EXPECT_EQ((std::array<std::int32_t, 3>{2000, 8200, 32000}), dev.mr);
  const float hmax[] = {3.40f, 3.70f, 3.97f};
  for (int i = 0; i < 3; ++i) {
    EXPECT_NEAR(1.744f, dev.hec[i], 0.0005f);
    EXPECT_NEAR(hmax[i], dev.hem[i], 0.005f);
    EXPECT_EQ(3, dev.iseas[i]);
  }
}

TEST(Development, LimitsAndMarkers) {
  NoCheck check;
  physics::Com2 com2{};
  // In water 1 m deep no single wave exceeds twice the depth.
  Inputs in = inputs(30, 10, 500, 1, 0);
  Evaluation e = evaluate(in, 10, com2, check);
  Development dev = develop(in, e, com2, check);
  for (float h : dev.hem) EXPECT_LE(h, 2.0f);
  // Without a wave number in the report, Hmax and the sea scale are marked.
  in = inputs(20, 10, 100, 5000, -15);
  e = evaluate(in, 10, com2, check);
  ASSERT_EQ(3, e.ier);
  dev = develop(in, e, com2, check);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(99999.0f, dev.hem[i]);
    EXPECT_EQ(9999999, dev.iseas[i]);
  }
  // A strong wind over a long fetch: Hmax is held at 30 m, the height
  // never falls from one horizon to the next.
  for (float depth : {2.0f, 3.0f, 6.0f, 20.0f, 5000.0f}) {
    in = inputs(70, 1, 5000, depth, 3);
    e = evaluate(in, 1, com2, check);
    dev = develop(in, e, com2, check);
    for (int i = 0; i < 3; ++i) {
      EXPECT_LE(dev.hem[i], 30.0f) << depth;
      EXPECT_GE(dev.hem[i], std::min({dev.hec[i], 30.0f, 2 * depth})) << depth;
      if (i > 0) {
        EXPECT_GE(dev.hec[i], dev.hec[i - 1]) << depth;
      }
    }
  }
}

}  // namespace
}  // namespace windsea

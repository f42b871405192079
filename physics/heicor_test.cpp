#include "morvelstandrik/physics/heicor.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/self_check_recorder_test.hpp"
#include "morvelstandrik/physics/wvnum.hpp"

namespace physics {
namespace {

constexpr float g = 9.81f;
constexpr float depth0 = 5000.0f;

struct Corrected {
  std::int32_t ier_in, ier;
  float he2;
  int records;
};

// The height correction as the shoal transform calls it: both wave numbers
// from the solver, the target's status handed on.
Corrected correct(float tper0, float he0, float depth, float curr) {
  Com2 com2{};
  SelfCheckRecorder check;
  const float ak0 = wvnum(g, tper0, 0.0f, depth0, com2).ak;
  const WaveNumber target = wvnum(g, tper0, curr, depth, com2);
  std::int32_t ier = target.ier;
  const float he2 =
      heicor(g, depth0, depth, curr, ak0, target.ak, he0, ier, com2, check);
  return {target.ier, ier, he2, check.count};
}

TEST(Heicor, HeightCases) {
  const struct {
    const char* what;
    float tper0, he0, depth, curr;
    float he2;  // no_height for the marker
    std::int32_t ier_in, ier;
  } cases[] = {
      {"shoaling at 10 m", 5.24f, 1.88f, 10, 0, 1.75f, 0, 0},
      {"shoaling at 3 m, steepness 0.113", 5.24f, 1.88f, 3, 0, 1.82f, 0, 0},
      {"breaking by depth at 1 m", 5.24f, 1.88f, 1, 0, 2.22f, 0, 1},
      {"breaking at 2 m, height not reduced", 8.78f, 4.97f, 2, 0, 6.35f, 0, 1},
      {"following current 5 kt", 5.24f, 1.88f, 5000, 5, 1.23f, 0, 0},
      {"breaking by steepness against 3 kt", 5.24f, 1.88f, 5000, -3, 3.56f, 0,
       1},
      {"4.6-fold against 3.9 kt", 5.24f, 1.88f, 5000, -3.9f, 8.67f, 0, 1},
      // Blocking for 5.24 s lies near 3.97 kt against.
      {"beyond 5-fold against 3.95 kt", 5.24f, 1.88f, 5000, -3.95f, no_height,
       0, 1},
      {"blocked against 5 kt", 5.24f, 1.88f, 5000, -5, no_height, 2, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Corrected r = correct(c.tper0, c.he0, c.depth, c.curr);
    EXPECT_EQ(r.ier_in, c.ier_in);
    EXPECT_EQ(r.ier, c.ier);
    if (c.he2 == no_height) {
      EXPECT_EQ(r.he2, no_height);
    } else {
      EXPECT_NEAR(r.he2, c.he2, 5e-3f);
    }
    EXPECT_EQ(r.records, 0);
  }
}

TEST(Heicor, TargetEqualToReferenceKeepsTheHeight) {
  const struct {
    float tper0, he0;
  } cases[] = {{1.0f, 0.1f},   {3.0f, 1.0f},   {5.24f, 1.88f},
               {8.78f, 4.97f}, {15.0f, 10.0f}, {20.0f, 24.8f}};
  for (const auto& c : cases) {
    const Corrected r = correct(c.tper0, c.he0, depth0, 0.0f);
    EXPECT_EQ(r.he2, c.he0) << c.tper0 << " s";
    EXPECT_EQ(r.ier, 0) << c.tper0 << " s";
  }
}

// At the limits themselves nothing fails yet. In deep water without
// current the target is the reference, so he2 = he0 and tanh(k d) = 1: the
// breaking indicator is he0 over the wave length, and a height can be found
// that puts it exactly on 0.14.
TEST(Heicor, ExactLimitsAreNotYetFailures) {
  Com2 com2{};
  SelfCheckRecorder check;
  const float ak = wvnum(g, 5.24f, 0.0f, depth0, com2).ak;
  const float wavel = (pi + pi) / ak;
  float he0 = 0.14f * wavel;
  while (he0 / wavel < 0.14f) he0 = std::nextafter(he0, 100.0f);
  while (he0 / wavel > 0.14f) he0 = std::nextafter(he0, 0.0f);
  ASSERT_EQ(he0 / wavel, 0.14f);

  std::int32_t ier = 0;
  EXPECT_EQ(heicor(g, depth0, depth0, 0, ak, ak, he0, ier, com2, check), he0);
  EXPECT_EQ(ier, 0) << "steepness exactly 0.14";

  const float steeper = std::nextafter(he0, 100.0f);
  ier = 0;
  EXPECT_EQ(heicor(g, depth0, depth0, 0, ak, ak, steeper, ier, com2, check),
            steeper);
  EXPECT_EQ(ier, 1) << "steepness just above 0.14";

  // No height at all: 0 is exactly 5 times itself, still a height.
  ier = 0;
  EXPECT_EQ(heicor(g, depth0, 10, 0, ak, ak, 0.0f, ier, com2, check), 0.0f);
  EXPECT_EQ(ier, 0);
}

// The two group-velocity formulas agree to far better than 0.01 m/s for
// real seas (no record in the cases above). With an absurd gravity the deep
// water group velocity 0.5 sqrt(g / k) is ~158 km/s, where one unit in the
// last place of a float is 0.016 m/s: the formulas round apart and the
// record is sent, while the height is carried on unchanged.
TEST(Heicor, GroupVelocityMismatchIsReportedAndChangesNothing) {
  const float big_g = 1e10f;
  const float ak = 0.1f;
  Com2 com2{};
  SelfCheckRecorder check;
  std::int32_t ier = 0;
  const float he2 =
      heicor(big_g, depth0, depth0, 0, ak, ak, 1.5f, ier, com2, check);
  ASSERT_EQ(check.count, 1);
  const double expected = 0.5 * std::sqrt(1e10 / 0.1);
  EXPECT_NEAR(check.last_vgr2, expected, expected * 1e-6);
  EXPECT_NEAR(check.last_cgr2, expected, expected * 1e-6);
  EXPECT_GT(std::fabs(check.last_vgr2 - check.last_cgr2), 0.01f);
  EXPECT_EQ(he2, 1.5f);
  EXPECT_EQ(ier, 0);
}

}  // namespace
}  // namespace physics

#include "morvelstandrik/physics/curwav.hpp"

#include <gtest/gtest.h>

#include "morvelstandrik/physics/self_check_recorder_test.hpp"

namespace physics {
namespace {

constexpr float g = 9.81f;

TEST(Curwav, TransformCases) {
  const struct {
    const char* what;
    float depth, curr, tper0, hs0;
    float hs2, hs2_tol;  // no_height for the marker
    float wlen2, wlen2_tol;
    std::int32_t ier;
  } cases[] = {
      {"deep water without current keeps the height", 5000, 0, 5.24f, 1.88f,
       1.88f, 0.0f, 43.05f, 5e-3f, 0},
      {"shoaling at 10 m", 10, 0, 5.24f, 1.88f, 1.75f, 5e-3f, 39.48f, 5e-3f, 0},
      {"the 20 kt, 10 h, 100 km sea at 10 m", 10, 0, 5.237f, 1.883f, 1.744f,
       5e-4f, 39.48f, 5e-3f, 0},
      {"breaking at 2 m", 2, 0, 8.78f, 4.97f, 6.35f, 5e-3f, 38.22f, 5e-3f, 1},
      {"following current 5 kt", 5000, 5, 5.24f, 1.88f, 1.23f, 5e-3f, 67.19f,
       5e-3f, 0},
      {"blocked: length of the best grid point", 5000, -5, 5.24f, 1.88f,
       no_height, 0.0f, 17.01f, 5e-3f, 3},
      // The root (about 2500 m) lies beyond the solver's range: the length
      // is its longest grid point, the smallest wave number it can give.
      {"beyond the range: the longest grid point", 5000, 0, 40.0f, 1.0f,
       no_height, 0.0f, 2099.79f, 5e-3f, 3},
      // The solver's root is the 1.68 m grid point (3.74 rad/m); the
      // reported wave number is limited to 1.0.
      {"length limit for a 1 s period", 5000, 0, 1.0f, 0.1f, 0.1f, 0.0f, 6.28f,
       5e-3f, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Com2 com2{};
    SelfCheckRecorder check;
    const ShoalResult r =
        curwav(g, c.depth, c.curr, c.tper0, c.hs0, com2, check);
    EXPECT_NEAR(r.hs2, c.hs2, c.hs2_tol);
    EXPECT_NEAR(r.wlen2, c.wlen2, c.wlen2_tol);
    EXPECT_EQ(r.ier, c.ier);
    EXPECT_EQ(check.count, 0);
  }
}

// The development table limits single waves by the depth left in the
// record; the current is the height correction's conversion, the last one
// written.
TEST(Curwav, RecordHoldsTheTargetState) {
  Com2 com2{-99.0f, -99.0f, -99.0f};
  SelfCheckRecorder check;
  curwav(g, 10, -3.0f, 5.24f, 1.88f, com2, check);
  EXPECT_EQ(com2.gravc, g);
  EXPECT_EQ(com2.depthc, 10.0f);
  EXPECT_EQ(com2.curms, -3.0f * 1852.0f / 3600.0f);
}

}  // namespace
}  // namespace physics

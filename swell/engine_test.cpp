#include "morvelstandrik/swell/engine.hpp"

#include <gtest/gtest.h>

namespace swell {
namespace {

TEST(Infer, WindFieldBehindObservedSwells) {
  const struct {
    float period, height;
    Outcome outcome;
    float wind;
    std::int32_t beaufort;
    float distance, shown;
  } cases[] = {
      {10, 3, Outcome::kInside, 30.49f, 7, 449.87f, 400},
      {12, 2, Outcome::kInside, 31.16f, 7, 1280.25f, 1200},
      {8, 3, Outcome::kInside, 24.00f, 6, 167.91f, 150},
      {9.6f, 5, Outcome::kInside, 34.12f, 8, 222.29f, 200},
      {10, 0.5f, Outcome::kBelow, 20, 5, 1088.63f, 1000},
      {10, 12, Outcome::kAbove, 50, 10, 90.22f, 90},
      {0.1f, 1, Outcome::kBelow, 20, 5, 0, 0},
      {5, 100, Outcome::kAbove, 50, 10, 0, 0},
  };
  for (const auto& c : cases) {
    const Field f = infer(c.period, c.height);
    EXPECT_EQ(c.period, f.period);
    EXPECT_EQ(c.height, f.height);
    EXPECT_EQ(c.outcome, f.outcome) << c.period << " s, " << c.height << " m";
    EXPECT_NEAR(c.wind, f.wind, 0.005f) << c.period << " s, " << c.height;
    EXPECT_EQ(c.beaufort, f.beaufort) << c.period << " s, " << c.height;
    EXPECT_NEAR(c.distance, f.distance, 0.01f) << c.period << " s";
    EXPECT_EQ(c.shown, f.distance_shown) << c.period << " s, " << c.height;
  }
  EXPECT_EQ("inside", code(Outcome::kInside));
  EXPECT_EQ("below", code(Outcome::kBelow));
  EXPECT_EQ("above", code(Outcome::kAbove));
}

}  // namespace
}  // namespace swell

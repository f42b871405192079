#include "morvelstandrik/physics/beaufort.hpp"

#include <gtest/gtest.h>

namespace physics {
namespace {

// Force n starts where 0.726 * v^0.665 + 0.5 reaches n, that is at
// v = ((n - 0.5) / 0.726)^(1 / 0.665): 0.571 kt for 1, 15.538 kt for 5,
// 21.011 kt for 6, 63.702 kt for 12.
TEST(Beaufort, ForcesOfWindSpeeds) {
  const struct {
    float knots;
    std::int32_t force;
  } cases[] = {
      {0.0f, 0},   {0.5f, 0},   {0.6f, 1},   {15.5f, 4},  {15.6f, 5},
      {20.0f, 5},  {21.0f, 5},  {21.1f, 6},  {24.0f, 6},  {30.49f, 7},
      {50.0f, 10}, {63.6f, 11}, {63.8f, 12}, {70.0f, 12},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(beaufort(c.knots), c.force) << c.knots << " kt";
  }
}

}  // namespace
}  // namespace physics

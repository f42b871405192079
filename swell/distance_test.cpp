#include "morvelstandrik/swell/distance.hpp"

#include <limits>

#include <gtest/gtest.h>

namespace swell {
namespace {

TEST(RoundDistance, ChainedSteps) {
  struct Case {
    float in, out;
  };
  const Case cases[] = {
      {0.0f, 0.0f},        {5.3f, 5.3f},        {10.0f, 10.0f},
      {10.5f, 10.0f},      {90.22f, 90.0f},     {99.9f, 90.0f},
      {100.0f, 100.0f},    {105.0f, 100.0f},    {149.9f, 100.0f},
      {150.0f, 150.0f},    {167.91f, 150.0f},   {449.87f, 400.0f},
      {1000.0f, 1000.0f},  {1020.0f, 1000.0f},  {1060.0f, 1000.0f},
      {1088.63f, 1000.0f}, {1099.0f, 1000.0f},  {1100.0f, 1100.0f},
      {1150.0f, 1100.0f},  {1280.25f, 1200.0f}, {99999.9f, 99900.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(round_distance(c.in), c.out) << c.in;
}

// Distances far beyond the six-character field, at and past the edge of the
// 32-bit range, must not overflow on the way and still print as asterisks.
TEST(RoundDistance, HugeDistancesStayTooWideForTheField) {
  const float inf = std::numeric_limits<float>::infinity();
  for (const float d :
       {1.0e5f, 2147483520.0f, 2147483648.0f, 1.0e12f, 3.0e38f, inf}) {
    const float r = round_distance(d);
    EXPECT_GE(r, 100000.0f) << d;
    EXPECT_LE(r, d) << d;
  }
}

}  // namespace
}  // namespace swell

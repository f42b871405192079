#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "morvelstandrik/cli/json.hpp"

namespace cli {
namespace {

// shortest_written_out() writes out what std::to_chars does (the
// WebAssembly build's library has none for floats): both must agree on every
// float tried, a stride through all finite floats of both signs and every power
// of two with its neighbours, where the decimal neighbours are uneven.
TEST(Shortest, AgreesWithToChars) {
  const auto expected = [](float v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
  };
  std::vector<float> values = {0.0f,     -0.0f,        0.1f,      1e-5f,
                               1.5e-4f,  1e6f,         123456.0f, 1.7441f,
                               9999.99f, 3.4028235e38f};
  for (std::uint32_t bits = 1; bits < 0x7F800000u; bits += 31337) {
    values.push_back(std::bit_cast<float>(bits));
  }
  for (int e = -149; e <= 127; ++e) {
    const float p = std::ldexp(1.0f, e);
    values.push_back(p);
    values.push_back(std::nextafter(p, 0.0f));
    values.push_back(std::nextafter(p, INFINITY));
  }
  int wrong = 0;
  for (const float v : values) {
    for (const float s : {v, -v}) {
      if (shortest_written_out(s) != expected(s) && ++wrong <= 10) {
        ADD_FAILURE() << expected(s) << " written as "
                      << shortest_written_out(s);
      }
    }
  }
  EXPECT_EQ(0, wrong);
}

TEST(Shortest, Examples) {
  EXPECT_EQ("1.7441", shortest_written_out(1.7441f));
  EXPECT_EQ("0.1", shortest_written_out(0.1f));
  EXPECT_EQ("1e-05", shortest_written_out(1e-5f));
  EXPECT_EQ("0.00015", shortest_written_out(1.5e-4f));
  EXPECT_EQ("1e+06", shortest_written_out(1e6f));
  EXPECT_EQ("123456", shortest_written_out(123456.0f));
  EXPECT_EQ("-20", shortest_written_out(-20.0f));
  EXPECT_EQ("33591912", shortest_written_out(33591912.0f));
}

}  // namespace
}  // namespace cli

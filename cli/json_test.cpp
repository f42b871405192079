#include "morvelstandrik/cli/json.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace cli {
namespace {

TEST(Json, ShortestFloatsReadBackToTheSameBits) {
  const struct {
    float v;
    const char* text;
  } cases[] = {
      {0.1f, "0.1"}, {20.0f, "20"},   {-3.0f, "-3"},         {1e20f, "1e+20"},
      {0.0f, "0"},   {2.36f, "2.36"}, {9999.99f, "9999.99"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.text, shortest(c.v));
  }
  // Any float: the text reads back to the same value.
  for (std::uint32_t bits = 0x3F800000u; bits < 0x3F800000u + 5000u;
       bits += 7u) {
    float v;
    std::memcpy(&v, &bits, sizeof v);
    const std::string t = shortest(v);
    EXPECT_EQ(v, std::strtof(t.c_str(), nullptr)) << t;
  }
}

TEST(Json, StructureAndTexts) {
  std::string out;
  Json j(out);
  j.begin_object();
  j.key("a").number(1.5f);
  j.key("b").begin_array();
  j.integer(1);
  j.null();
  j.text("q\"\\\n\x01");
  j.end_array();
  j.key("grounding").text("%\xF5?");
  j.key("user").utf8("caf\xC3\xA9 \xFF");
  j.key("none").number(std::optional<float>());
  j.key("inf").number(INFINITY);
  j.key("empty").begin_object();
  j.end_object();
  j.end_object();
  EXPECT_EQ(
      "{\"a\":1.5,\"b\":[1,null,\"q\\\"\\\\\\u000a\\u0001\"],"
      "\"grounding\":\"%\xC3\xB5?\",\"user\":\"caf\xC3\xA9 \xEF\xBF\xBD\","
      "\"none\":null,\"inf\":null,\"empty\":{}}",
      out);
}

}  // namespace
}  // namespace cli

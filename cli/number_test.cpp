#include "morvelstandrik/cli/number.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace cli {
namespace {

TEST(ReadNumber, ValuesAndWhatIsWrong) {
  const struct {
    const char* text;
    float value;  // when problem is empty
    const char* problem;
  } cases[] = {
      {"20", 20, ""},
      {"-3", -3, ""},
      {" 0.5 ", 0.5f, ""},
      {".5", 0.5f, ""},
      {"+7", 7, ""},
      {"1e3", 1000, ""},
      {"2E-1", 0.2f, ""},
      {"0.1", 0.1f, ""},  // rounded to the nearest float, as the dialogue
      {"1e-50", 0, ""},   // too small for a float: 0
      {"", 0, "is empty; give a number"},
      {"  ", 0, "is empty; give a number"},
      {"12,5", 0, "is not a number; use a decimal point"},
      {"-0,75", 0, "is not a number; use a decimal point"},
      {"1,234,5", 0, "is not a number"},
      {"12kt", 0, "is not a number"},
      {"0x10", 0, "is not a number"},
      {"--3", 0, "is not a number"},
      {"nan", 0, "is not a finite number"},
      {"inf", 0, "is not a finite number"},
      {"-Infinity", 0, "is not a finite number"},
      {"1e39", 0, "is not a finite number"},  // beyond the largest float
      {"1e400", 0, "is not a finite number"},
  };
  for (const auto& c : cases) {
    const Number n = read_number(c.text);
    EXPECT_EQ(c.problem, n.problem) << "'" << c.text << "'";
    if (std::string(c.problem).empty()) {
      ASSERT_TRUE(n.value) << c.text;
      EXPECT_EQ(c.value, *n.value) << c.text;
    } else {
      EXPECT_FALSE(n.value) << c.text;
    }
  }
}

// The decimal form is checked by hand (the WebAssembly build's library has
// no floating-point from_chars); each row says what the text must give.
struct Case {
  std::string_view text;
  std::optional<float> value;
  std::string_view problem;
};

constexpr std::string_view kNotANumber = "is not a number";
constexpr std::string_view kNotFinite = "is not a finite number";
constexpr std::string_view kComma = "is not a number; use a decimal point";

TEST(ReadNumber, DecimalFormsAndTheirRefusals) {
  const Case cases[] = {
      {"20", 20.0f, ""},
      {"-3", -3.0f, ""},
      {"+3", 3.0f, ""},
      {"0.5", 0.5f, ""},
      {".5", 0.5f, ""},
      {"-.5", -0.5f, ""},
      {"5.", 5.0f, ""},
      {"1e3", 1000.0f, ""},
      {"1E+3", 1000.0f, ""},
      {"25e-1", 2.5f, ""},
      {" \t12.5 ", 12.5f, ""},
      {"1e-400", 0.0f, ""},  // underflows to 0, still a number
      {"", std::nullopt, "is empty; give a number"},
      {"   ", std::nullopt, "is empty; give a number"},
      {"12,5", std::nullopt, kComma},
      {"-12,5", std::nullopt, kComma},
      {",5", std::nullopt, kComma},
      {"1,5e3", std::nullopt, kNotANumber},
      {"1,2,3", std::nullopt, kNotANumber},
      {"12kt", std::nullopt, kNotANumber},
      {"0x10", std::nullopt, kNotANumber},
      {"1e", std::nullopt, kNotANumber},
      {"1e+", std::nullopt, kNotANumber},
      {".", std::nullopt, kNotANumber},
      {"-", std::nullopt, kNotANumber},
      {"+-5", std::nullopt, kNotANumber},
      {"--5", std::nullopt, kNotANumber},
      {"1.2.3", std::nullopt, kNotANumber},
      {"e5", std::nullopt, kNotANumber},
      {"infin", std::nullopt, kNotANumber},
      {"nan(", std::nullopt, kNotANumber},
      {"nan(a-b)", std::nullopt, kNotANumber},
      {"abc", std::nullopt, kNotANumber},
      {"inf", std::nullopt, kNotFinite},
      {"-Infinity", std::nullopt, kNotFinite},
      {"NaN", std::nullopt, kNotFinite},
      {"nan(x_1)", std::nullopt, kNotFinite},
      {"1e39", std::nullopt, kNotFinite},  // beyond single precision
      {"1e400", std::nullopt, kNotFinite},
  };
  for (const Case& c : cases) {
    const Number n = read_number(c.text);
    EXPECT_EQ(c.value, n.value) << '"' << c.text << '"';
    EXPECT_EQ(c.problem, n.problem) << '"' << c.text << '"';
  }
}

// In a semicolon-separated file the comma is the decimal mark; the same
// texts with a point still read, and a thousands mark is still refused.
TEST(ReadNumber, DecimalCommaWhereTheFileAllowsIt) {
  const Case cases[] = {
      {"12,5", 12.5f, ""},
      {"-0,75", -0.75f, ""},
      {"+2,5", 2.5f, ""},
      {",5", 0.5f, ""},
      {" 3,25 ", 3.25f, ""},
      {"0,1", 0.1f, ""},  // the float nearest 0.1, as "0.1" gives
      {"12.5", 12.5f, ""},
      {"20", 20.0f, ""},
      {"1.234,5", std::nullopt, kNotANumber},
      {"1,5e3", std::nullopt, kNotANumber},
      {"1,2,3", std::nullopt, kNotANumber},
      {",", std::nullopt, kNotANumber},
      {"", std::nullopt, "is empty; give a number"},
  };
  for (const Case& c : cases) {
    const Number n = read_number(c.text, true);
    EXPECT_EQ(c.value, n.value) << '"' << c.text << '"';
    EXPECT_EQ(c.problem, n.problem) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace cli

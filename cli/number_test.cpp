#include "morvelstandrik/cli/number.hpp"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace cli

#include "morvelstandrik/dialogue/windsea.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "morvelstandrik/shell/test_session.hpp"

namespace dialogue {
namespace {

using shell::testing::Session;

// The defaults that the five number entries of each cycle offered, in order.
std::vector<std::string> defaults_shown(const std::string& out) {
  std::vector<std::string> shown;
  const std::string tag = "[ Default: ";
  for (std::size_t at = out.find(tag); at != std::string::npos;
       at = out.find(tag, at + 1)) {
    std::string field = out.substr(at + tag.size(), 10);
    field.erase(0, field.find_first_not_of(' '));
    shown.push_back(field);
  }
  return shown;
}

std::size_t occurrences(const std::string& out, const std::string& text) {
  std::size_t n = 0;
  for (std::size_t at = out.find(text); at != std::string::npos;
       at = out.find(text, at + 1)) {
    ++n;
  }
  return n;
}

TEST(Ocean, ClampedEntriesComeBackAsDefaults) {
  // Cycle 1: wind 100 (compressed to 69.3), duration 500, fetch 0, depth -5,
  // current 2000 (taken as 0). Cycle 2 accepts every default: 69.3 is
  // compressed again. Cycle 3: current 999 and -40 give 15 and -15.
  Session s(
      "\n"
      "100\n500\n0\n-5\n2000\n\n"
      "\n\n\n\n\n\n"
      "20\n10\n100\n10\n999\n\n"
      "20\n10\n100\n10\n-40\n\n"
      "0\n");
  EXPECT_EQ("", s.run([&] { ocean(s.console); }));
  const std::vector<std::string> expected = {
      "15.0", "200.0", "5000.0", "5000.0", "0.0",  // start values
      "69.3", "200.0", "1.0",    "1.0",    "0.0",  // clamped
      "65.6", "200.0", "1.0",    "1.0",    "0.0",  // compressed again
      "20.0", "10.0",  "100.0",  "10.0",   "15.0", "20.0"};
  EXPECT_EQ(expected, defaults_shown(s.out.text));
  EXPECT_EQ(2u, occurrences(s.out.text, " NOTE: Results for winds above 65"));
  EXPECT_NE(std::string::npos,
            s.out.text.find("10.m  -15.0 kt\n"));  // the last summary line
}

TEST(Ocean, ContinueAnswers) {
  // One cycle, then the answer: leaving answers print the leaving records
  // right after the 50 empty records; any other starts a new cycle, which
  // then leaves on a calm wind.
  struct Case {
    const char* answer;
    int cycles;
  } cases[] = {{"q", 1}, {"x", 1},  {"0", 1}, {"quit", 1}, {"Q", 2},
               {"X", 2}, {" q", 2}, {"", 2},  {"-", 2}};
  for (const Case& c : cases) {
    Session s(std::string("\n20\n10\n100\n5000\n0\n") + c.answer + "\n0\n");
    EXPECT_EQ("", s.run([&] { ocean(s.console); })) << c.answer;
    EXPECT_EQ(static_cast<std::size_t>(c.cycles),
              occurrences(s.out.text, "Input> Wind-speed"))
        << c.answer;
  }
}

}  // namespace
}  // namespace dialogue

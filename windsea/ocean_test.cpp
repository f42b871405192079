#include "morvelstandrik/windsea/ocean.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "morvelstandrik/shell/test_session.hpp"

namespace windsea {
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

TEST(Ocean, LeavingAtOnceOnACalmWind) {
  for (const char* wind : {"0\n", "-0.005\n", "0.01\n"}) {
    Session s(std::string("\n") + wind);
    EXPECT_EQ("", s.run([&] { ocean(s.console); })) << wind;
    const std::string tail =
        " Input> Wind-speed in knots, Range:{1,65}=\n"
        "        [ Default:       15.0 ].    Input=\n" +
        (" " + std::string(wind, std::string(wind).size() - 1) +
         std::string(9 - std::string(wind).size(), ' ')) +
        "\n"
        "  ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ \n"
        "  \n"
        " #### end of program brelvomant ###\n";
    ASSERT_GE(s.out.text.size(), tail.size());
    EXPECT_EQ(tail, s.out.text.substr(s.out.text.size() - tail.size())) << wind;
  }
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

TEST(Ocean, ModelSwitchHoldsUntilTheMenu) {
  // With a 5 kt current along a 20 kt wind, model 1 reports the 20 kt sea in
  // 5000 m carried into the current, while model 0 reports the
  // sea of the 15 kt relative wind. Entering -20 switches; later positive
  // entries keep model 0.
  Session one("\n20\n10\n100\n5000\n5\n\n-20\n\n\n\n\n\n\n\n\n\n\n\n0\n");
  one.run([&] { ocean(one.console); });
  Session fresh("\n20\n10\n100\n5000\n5\nq\n");
  fresh.run([&] { ocean(fresh.console); });
  auto wave_lines = [](const std::string& out) {
    std::vector<std::string> lines;
    const std::string tag = "    ==>            Hc=";
    for (std::size_t at = out.find(tag); at != std::string::npos;
         at = out.find(tag, at + 1)) {
      lines.push_back(out.substr(at, out.find('\n', at) - at));
    }
    return lines;
  };
  const std::vector<std::string> m = wave_lines(one.out.text);
  ASSERT_EQ(3u, m.size());
  EXPECT_EQ(wave_lines(fresh.out.text)[0], m[0]);  // model 1
  EXPECT_NE(m[0], m[1]);                           // switched to model 0
  EXPECT_EQ(m[1], m[2]);                           // and kept
}

TEST(Ocean, EndOfInputAtThePrompts) {
  const char* inputs[] = {"",
                          "\n",
                          "\n20\n",
                          "\n20\n10\n",
                          "\n20\n10\n100\n",
                          "\n20\n10\n100\n10\n",
                          "\n20\n10\n100\n10\n0\n"};
  const char* diagnoses[] = {"read start: end of file", "fmt: end of file",
                             "fmt: end of file",        "fmt: end of file",
                             "fmt: end of file",        "fmt: end of file",
                             "fmt: end of file"};
  for (std::size_t i = 0; i < std::size(inputs); ++i) {
    Session s(inputs[i]);
    EXPECT_EQ(diagnoses[i], s.run([&] { ocean(s.console); })) << i;
  }
}

}  // namespace
}  // namespace windsea

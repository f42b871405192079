#include "morvelstandrik/dialogue/menu.hpp"

#include <gtest/gtest.h>

#include <string>

#include "morvelstandrik/shell/test_session.hpp"

namespace dialogue {
namespace {

using shell::testing::Session;

std::string calls;
void ocean(shell::Console&) {
  calls += '1';
}
void swell(shell::Console&) {
  calls += '2';
}

struct Case {
  const char* input;
  const char* calls;  // calculations run, in order
  int screens;        // menu screens drawn
  const char* diagnosis;
};

TEST(MainMenu, RunsTheChosenCalculations) {
  const Case cases[] = {
      {"0\n", "", 1, ""},
      {"1\n2\n0\n", "12", 3, ""},
      {"3\n99\n-1\n0\n", "", 4, ""},
      {"2 1\n0\n", "2", 2, ""},
      {"2,1\n0\n", "2", 2, ""},
      {"+1\n   1\n0\n", "11", 3, ""},
      {"\n\n  \n0\n", "", 1, ""},
      {",\n0\n", "", 2, ""},           // no choice yet: redraw
      {"1\n,\n/\n0\n", "111", 4, ""},  // no value: the last choice again
      {"3\n,\n0\n", "", 3, ""},
      {"4294967297\n0\n", "", 2, ""},
      {"1.5\n", "", 1, "invalid integer: read unexpected character"},
      {"1e0\n", "", 1, "invalid integer: read unexpected character"},
      {"abc\n", "", 1, "invalid number: incomprehensible list input"},
      {"", "", 1, "list in: end of file"},
      {"2", "2", 2, "read start: end of file"},
  };
  const std::string banner =
      "  ~~~~~~~~~~~~~~~~~~  MORVELSTANDRIK  <v11>  ~~~~~~~~~~~~~~~~~ \n";
  const std::string end = "  ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~\n";
  for (const Case& c : cases) {
    calls.clear();
    Session s(c.input);
    EXPECT_EQ(c.diagnosis, s.run([&] { main_menu(s.console, ocean, swell); }))
        << c.input;
    EXPECT_EQ(c.calls, calls) << c.input;
    int screens = 0;
    for (std::size_t at = s.out.text.find(banner); at != std::string::npos;
         at = s.out.text.find(banner, at + 1)) {
      ++screens;
    }
    EXPECT_EQ(c.screens, screens) << c.input;
    const bool ended = s.out.text.size() >= end.size() &&
                       s.out.text.compare(s.out.text.size() - end.size(),
                                          end.size(), end) == 0;
    EXPECT_EQ(*c.diagnosis == '\0', ended) << c.input;
  }
}

TEST(MainMenu, DrawsTheScreen) {
  Session s("0\n");
  s.run([&] { main_menu(s.console, ocean, swell); });
  const std::string screen =
      std::string(51, '\n') +
      "  ~~~~~~~~~~~~~~~~~~  MORVELSTANDRIK  <v11>  ~~~~~~~~~~~~~~~~~ \n"
      "\n\n"
      " This program performs two types of calculations for\n"
      " wind, waves, distances, depths and currents:\n"
      "\n"
      " [1]: Calculate Waveheight from Wind, Duration of Wind, Fetch,\n"
      "      Depth of Water and Current\n"
      "\n"
      " [2]: Calculate Speed and Distance of a Windfield \n"
      "      from the Period and Height of the Swell\n"
      "\n\n"
      " Now chose by entering  1  or  2  [or 0 for end]:\n";
  EXPECT_EQ(screen + "  ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~\n", s.out.text);
}

}  // namespace
}  // namespace dialogue

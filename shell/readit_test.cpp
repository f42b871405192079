#include "morvelstandrik/shell/readit.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "morvelstandrik/shell/test_session.hpp"

namespace shell {
namespace {

using testing::Session;

const std::string kPrompt15 = "        [ Default:       15.0 ].    Input=\n";

TEST(Readit, AcceptsOrReplacesTheDefault) {
  struct Case {
    const char* line;
    float start;
    float result;
  } cases[] = {
      {"\n", 15.0f, 15.0f},
      {"        5\n", 15.0f, 15.0f},  // only the first 8 characters count
      {"25\n", 15.0f, 25.0f},
      {"123456789\n", 15.0f, 999999.0f},  // 12345678, limited
      {"-1e7\n", 15.0f, -999999.0f},
      {"1e7\n", 15.0f, 999999.0f},
      {"999999\n", 15.0f, 999999.0f},
      {"-999999\n", 15.0f, -999999.0f},
      {"2d1\n", 15.0f, 20.0f},
      {"2E1\n", 15.0f, 20.0f},
      {"+5\n", 15.0f, 5.0f},
      {".5\n", 15.0f, 0.5f},
      {"5.\n", 15.0f, 5.0f},
      {"1,000\n", 15.0f, 1.0f},
      {"1 000\n", 15.0f, 1.0f},
      {"12abc\n", 15.0f, 12.0f},
      {"1.2.3\n", 15.0f, 1.2f},
      {",\n", 15.0f, 15.0f},
      {"/\n", 15.0f, 15.0f},
      {"3*\n", 15.0f, 15.0f},
      {",\n", 5e6f, 999999.0f},  // a kept default is still limited
      {"\n", 5e6f, 5e6f},        // an empty entry is not
      {"\n", -2e6f, -2e6f},
      {"0\r\n", 15.0f, 0.0f},
  };
  for (const Case& c : cases) {
    Session s(c.line);
    float xxx = c.start;
    EXPECT_EQ("", s.run([&] { readit(s.console, xxx); })) << c.line;
    EXPECT_EQ(c.result, xxx) << c.line;
  }
}

TEST(Readit, PrintsPromptAndEcho) {
  Session s("25\n\n");
  float xxx = 15.0f;
  s.run([&] {
    readit(s.console, xxx);
    readit(s.console, xxx);
  });
  EXPECT_EQ(kPrompt15 + " 25      \n" +
                "        [ Default:       25.0 ].    Input=\n" +
                std::string(9, ' ') + "\n",
            s.out.text);
  Session t("-7\n");
  xxx = -999999.0f;
  t.run([&] { readit(t.console, xxx); });
  EXPECT_EQ("        [ Default:  -999999.0 ].    Input=\n -7      \n",
            t.out.text);
}

TEST(Readit, FatalEntries) {
  struct Case {
    std::string_view input;
    const char* diagnostic;
  } cases[] = {
      {"abc\n",
       "invalid number: incomprehensible list input\n"
       "apparent state: internal I/O\nlast format: list io\n"
       "lately reading sequential formatted internal IO\n"},
      {"+\n", "invalid number: incomprehensible list input\n"},
      {".\n", "invalid number: incomprehensible list input\n"},
      {"'5'\n", "invalid number: incomprehensible list input\n"},
      {"5-\n", "exponent field: incomprehensible list input\n"},
      {"1e\n", "exponent field: incomprehensible list input\n"},
      {"*5\n", "bad repetition count: incomprehensible list input\n"},
      {"0*5\n", "bad repetition count: incomprehensible list input\n"},
      {"-2*5\n", "bad repetition count: incomprehensible list input\n"},
      {" \t \n", "list in: end of file\napparent state: internal I/O\n"},
      {"12",
       "fmt: end of file\napparent state: unit 5 (unnamed)\n"
       "last format: (a)\n"
       "lately reading sequential formatted external IO\n"},
      {"", "fmt: end of file\n"},
  };
  for (const Case& c : cases) {
    Session s(c.input);
    float xxx = 15.0f;
    EXPECT_NE("", s.run([&] { readit(s.console, xxx); })) << c.input;
    EXPECT_EQ(c.diagnostic, s.err.text.substr(0, std::strlen(c.diagnostic)))
        << c.input;
    EXPECT_EQ(15.0f, xxx);
  }
}

TEST(Readit, InputAlreadyEnded) {
  // A last line without newline ends the input; the next entry fails at
  // its start, with the format line of a line read.
  Session s("12345678");
  float xxx = 15.0f;
  EXPECT_EQ("", s.run([&] { readit(s.console, xxx); }));
  EXPECT_EQ(999999.0f, xxx);
  EXPECT_EQ("read start: end of file", s.run([&] { readit(s.console, xxx); }));
  EXPECT_EQ(
      "read start: end of file\napparent state: unit 5 (unnamed)\n"
      "last format: (a)\nlately reading sequential formatted external IO\n",
      s.err.text);
}

}  // namespace
}  // namespace shell

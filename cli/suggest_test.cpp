#include "morvelstandrik/cli/suggest.hpp"

#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/commands.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

const std::vector<std::string_view> kNames = {"windsea", "swell"};

TEST(Suggest, EditsAndTheClosestName) {
  const struct {
    const char* a;
    const char* b;
    std::size_t edits;
  } pairs[] = {
      {"windsea", "windsea", 0}, {"windse", "windsea", 1},
      {"wnidsea", "windsea", 1}, {"WindSea", "windsea", 0},
      {"swel", "swell", 1},      {"swll", "swell", 1},
      {"", "swell", 5},          {"tide", "swell", 5},
      {"ab", "ba", 1},           {"abc", "ca", 3},
  };
  for (const auto& p : pairs) {
    EXPECT_EQ(p.edits, edits(p.a, p.b)) << p.a << " " << p.b;
  }
  const struct {
    const char* typed;
    const char* closest;  // "" for none
  } cases[] = {
      {"windse", "windsea"},
      {"windsee", "windsea"},
      {"wind", "windsea"},
      {"Swell", "swell"},
      {"sweel", "swell"},
      {"sw", "swell"},
      {"tide", ""},
      {"w", ""},
      {"20", ""},
  };
  for (const auto& c : cases) {
    const auto got = closest(c.typed, kNames);
    EXPECT_EQ(c.closest, got ? std::string(*got) : std::string()) << c.typed;
  }
}

TEST(Suggest, UnknownCommandsHelpAndVersion) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* out_has;  // on standard output; "" for nothing
    const char* err;      // standard error's first line
  } cases[] = {
      {{"windse"},
       2,
       "",
       "morvelstandrik: unknown command 'windse'; did you mean 'windsea'?"},
      {{"swel", "10", "3"},
       2,
       "",
       "morvelstandrik: unknown command 'swel'; did you mean 'swell'?"},
      {{"tide", "3"},
       2,
       "",
       "morvelstandrik: unknown command 'tide'; the commands are windsea, "
       "swell"},
      {{"help", "tide"},
       2,
       "",
       "morvelstandrik: unknown command 'tide'; the commands are windsea, "
       "swell"},
      {{"help"}, 0, "morvelstandrik help windsea", ""},
      {{"help", "windsea"}, 0, "Status and warnings are two different", ""},
      {{"help", "swell"}, 0, "  morvelstandrik swell 10 3\n", ""},
      {{"-v"}, 0, "morvelstandrik ", ""},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args);
    EXPECT_EQ(c.status, r.status) << c.args[0];
    if (*c.out_has == '\0') {
      EXPECT_EQ("", r.out) << c.args[0];
    } else {
      EXPECT_NE(std::string::npos, r.out.find(c.out_has)) << r.out;
    }
    EXPECT_EQ(c.err, r.err.substr(0, r.err.find('\n'))) << c.args[0];
  }
  EXPECT_EQ(run_cli({"--version"}).out, run_cli({"-v"}).out);
  EXPECT_EQ(run_cli({"swell", "--help"}).out, run_cli({"help", "swell"}).out);
}

// The examples that end each command's help work as shown: each line
// "  morvelstandrik ARGS" or "  printf 'INPUT' | morvelstandrik ARGS".
TEST(Suggest, EveryHelpEndsWithExamplesThatWork) {
  for (const Command& c : commands()) {
    const Outcome help = run_cli({std::string(c.name), "--help"});
    const std::size_t at = help.out.find("\nExamples:\n");
    ASSERT_NE(std::string::npos, at) << c.name;
    std::size_t examples = 0;
    std::size_t from = at + 11;
    for (std::size_t end; (end = help.out.find('\n', from)) != help.out.npos;
         from = end + 1) {
      std::string line = help.out.substr(from, end - from);
      if (line.empty()) continue;
      ASSERT_EQ(0u, line.rfind("  ", 0)) << line;
      std::string input;
      if (line.rfind("  printf '", 0) == 0) {
        const std::size_t close = line.find("' | ");
        ASSERT_NE(std::string::npos, close) << line;
        input = line.substr(10, close - 10);
        for (std::size_t nl; (nl = input.find("\\n")) != input.npos;) {
          input.replace(nl, 2, "\n");
        }
        line = "  " + line.substr(close + 4);
      }
      std::vector<std::string> words;
      std::string word;
      std::istringstream in(line);
      while (in >> word) {
        if (word.size() >= 2 && word.front() == '\'' && word.back() == '\'') {
          word = word.substr(1, word.size() - 2);
        }
        words.push_back(word);
      }
      ASSERT_EQ("morvelstandrik", words.at(0)) << line;
      words.erase(words.begin());
      const Outcome r = run_cli(words, input);
      EXPECT_EQ(0, r.status) << line << "\n" << r.err;
      EXPECT_NE("", r.out) << line;
      ++examples;
    }
    EXPECT_GE(examples, 2u) << c.name;
    EXPECT_LE(examples, 3u) << c.name;
  }
}

}  // namespace
}  // namespace cli

#include "morvelstandrik/cli/lines.hpp"

#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"

namespace cli {
namespace {

using Rows = std::vector<std::vector<std::string>>;

using testing::Outcome;
using testing::run_cli;

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(LineReader, NumbersSeparatedByBlanksOrCommas) {
  const struct {
    const char* name;
    std::string text;
    Rows rows;
  } cases[] = {
      {"blanks", "20 10 100 10\n", {{"20", "10", "100", "10"}}},
      {"tabs and runs", " 20\t10   100 10 \n", {{"20", "10", "100", "10"}}},
      {"commas", "20,10,100,10\n", {{"20", "10", "100", "10"}}},
      {"commas with blanks", "20, 10 ,100 , 10\n", {{"20", "10", "100", "10"}}},
      {"an empty value", "20,,100,10\n", {{"20", "", "100", "10"}}},
      {"a trailing comma", "10,3,\n", {{"10", "3", ""}}},
      {"an empty line is a record", "\n10 3\n", {{}, {"10", "3"}}},
      {"CR LF", "10 3\r\n12 2\r\n", {{"10", "3"}, {"12", "2"}}},
      {"no final line end", "10 3\n12 2", {{"10", "3"}, {"12", "2"}}},
      {"words kept as they are", "ten 3m\n", {{"ten", "3m"}}},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
      shell::MemorySource source(c.text, piece);
      LineReader reader(source);
      Rows rows;
      std::vector<std::int64_t> numbers;
      Record r;
      while (reader.next(r)) {
        rows.push_back(r.fields);
        numbers.push_back(r.line);
        EXPECT_EQ("", r.problem) << c.name;
      }
      EXPECT_EQ(c.rows, rows) << c.name;
      for (std::size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(static_cast<std::int64_t>(i + 1), numbers[i]) << c.name;
      }
    }
  }
}

TEST(LineReader, LinesTooLongAreKeptInPart) {
  const std::string text = std::string(1 << 20, '7') + "\n10 3\n";
  shell::MemorySource source(text);
  LineReader reader(source);
  Record r;
  ASSERT_TRUE(reader.next(r));
  EXPECT_NE("", r.problem);
  ASSERT_TRUE(reader.next(r));
  EXPECT_EQ("", r.problem);
  EXPECT_EQ((std::vector<std::string>{"10", "3"}), r.fields);
  EXPECT_EQ(2, r.line);
  EXPECT_FALSE(reader.next(r));
}

// Each line is answered by the row a batch gives the same case, a bad line
// by a row with its error, in its place.
TEST(LineMode, EachLineAnsweredAsTheBatchAnswersItsRow) {
  const Outcome batch =
      run_cli({"windsea", "--batch", "-"},
              "wind_kt,duration_h,fetch_km,depth_m,current_kt\n"
              "20,10,100,10,\n30,24,500,20,-2.5\n12.5,7,77,5000,4\n");
  ASSERT_EQ(0, batch.status) << batch.err;
  const auto want = lines_of(batch.out);
  const Outcome r = run_cli({"windsea", "--lines"},
                            "20 10 100 10\n"
                            "30,24,500,20,-2.5\n"
                            "\n"
                            "12.5 7 77 5000 4\n"
                            "20 ten 100 10\n"
                            "1 2 3 4 5 6\n");
  EXPECT_EQ(1, r.status);
  const auto got = lines_of(r.out);
  ASSERT_EQ(6u, got.size());
  EXPECT_EQ(want[1], got[0]);
  EXPECT_EQ(want[2], got[1]);
  EXPECT_EQ(want[3], got[3]);
  const std::size_t cells = std::count(want[0].begin(), want[0].end(), ',');
  EXPECT_EQ(std::string(cells, ',') +
                "WIND is missing; give WIND DURATION FETCH DEPTH [CURRENT]",
            got[2]);
  EXPECT_EQ(std::string(cells, ',') + "DURATION: 'ten' is not a number",
            got[4]);
  EXPECT_EQ(std::string(cells, ',') +
                "6 values; give WIND DURATION FETCH DEPTH [CURRENT]",
            got[5]);
  EXPECT_EQ(
      "morvelstandrik: windsea: standard input:3: WIND is missing; give WIND "
      "DURATION FETCH DEPTH [CURRENT]\n"
      "morvelstandrik: windsea: standard input:5: DURATION: 'ten' is not a "
      "number\n"
      "morvelstandrik: windsea: standard input:6: 6 values; give WIND "
      "DURATION FETCH DEPTH [CURRENT]\n",
      r.err);
}

TEST(LineMode, JsonObjectsOneALine) {
  const Outcome one = run_cli({"swell", "10", "3", "--format", "json"}, "");
  const Outcome r =
      run_cli({"swell", "--lines", "--format", "json"}, "10 3\n10 3 m\n");
  EXPECT_EQ(1, r.status);
  const auto got = lines_of(r.out);
  ASSERT_EQ(2u, got.size());
  auto first = nlohmann::json::parse(got[0]);
  EXPECT_EQ(1, first["line"]);
  EXPECT_TRUE(first["error"].is_null());
  first.erase("line");
  first.erase("error");
  EXPECT_EQ(nlohmann::json::parse(one.out), first);
  const auto second = nlohmann::json::parse(got[1]);
  EXPECT_EQ(2, second["line"]);
  EXPECT_EQ("3 values; give PERIOD HEIGHT", second["error"]);
}

TEST(LineMode, UsageErrors) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"swell", "--lines", "10", "3"},
       "morvelstandrik: swell: --lines reads its cases from standard input; "
       "give no values besides"},
      {{"swell", "--lines", "--format", "text"},
       "morvelstandrik: swell: --format text is for one case; --lines is csv "
       "or json"},
      {{"swell", "--lines", "--batch", "-"},
       "morvelstandrik: swell: --batch and --lines: give one of them"},
      {{"swell", "--lines", "--jobs", "2"},
       "morvelstandrik: swell: --jobs is for a batch"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args, "10 3\n");
    EXPECT_EQ(2, r.status) << c.message;
    EXPECT_EQ("", r.out) << c.message;
    EXPECT_EQ(c.message, r.err.substr(0, r.err.find('\n')));
  }
  // No lines, no answers.
  const Outcome r = run_cli({"swell", "--lines"}, "");
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("", r.out);
}

}  // namespace
}  // namespace cli

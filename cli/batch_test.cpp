#include "morvelstandrik/cli/batch.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/run_cli_test.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

// A seeded wind-sea batch over several blocks: good rows of every kind,
// bad numbers, short rows, an unknown model, quoted carried cells with
// commas and line ends, CR LF line ends and empty lines.
std::string seeded_batch(unsigned seed, int rows) {
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % n); };
  std::string csv =
      "id,wind_kt,duration_h,fetch_km,depth_m,current_kt,model,"
      "\"note, free\"\r\n";
  const char* models[] = {"", "deep-water", "relative-wind", "neither"};
  for (int k = 0; k < rows; ++k) {
    const int kind = pick(40);
    std::string row = std::to_string(k) + ",";
    row += kind == 0 ? "12,5" : kind == 1 ? "\"0\"" : std::to_string(pick(80));
    row += "," + std::to_string(1 + pick(220)) + "," +
           std::to_string(1 + pick(6000)) + "," +
           std::to_string(1 + pick(400)) + "," + std::to_string(pick(11) - 5) +
           "," + models[pick(4)];
    if (kind == 2) row = std::to_string(k) + ",20,10";  // short
    row += kind == 3 ? ",\"line one\nline, two\"" : ",\" spaced \"";
    csv += row + (pick(2) ? "\r\n" : "\n");
    if (kind == 4) csv += "\n";
  }
  return csv;
}

// The bytes on standard output and standard error and the status are the
// same for any number of jobs, in both formats, however the input arrives.
TEST(Jobs, SameBytesForAnyNumberOfJobs) {
  for (const char* format : {"csv", "json"}) {
    const std::string input =
        seeded_batch(3, 3 * static_cast<int>(kBlockRows) + 77);
    const Outcome one =
        run_cli({"windsea", "--batch", "-", "--format", format, "--jobs", "1"},
                input, 0);
    ASSERT_EQ(1, one.status);  // there are bad rows
    ASSERT_NE("", one.err);
    for (const char* jobs : {"2", "3", "8"}) {
      for (std::size_t piece : {0, 7}) {
        const Outcome n = run_cli(
            {"windsea", "--batch", "-", "--format", format, "--jobs", jobs},
            input, piece);
        EXPECT_EQ(one.status, n.status) << format << " " << jobs;
        EXPECT_TRUE(one.out == n.out) << format << " " << jobs;
        EXPECT_TRUE(one.err == n.err) << format << " " << jobs;
      }
    }
  }
}

// Every row in file order, one output line each (CSV rows quote their line
// ends), whatever the number of jobs: the ids read back in order.
TEST(Jobs, RowsComeOutInFileOrder) {
  std::string csv = "period_s,height_m,id\n";
  const int rows = 5 * static_cast<int>(kBlockRows) + 3;
  for (int k = 0; k < rows; ++k) {
    csv += (k % 97 == 0 ? "x" : std::to_string(4 + k % 17)) + ",2," +
           std::to_string(k) + "\n";
  }
  const Outcome r =
      run_cli({"swell", "--batch", "-", "--jobs", "4"}, csv, 4096);
  EXPECT_EQ(1, r.status);
  std::size_t at = r.out.find('\n') + 1;
  for (int k = 0; k < rows; ++k) {
    const std::size_t end = r.out.find('\n', at);
    ASSERT_NE(std::string::npos, end) << k;
    const std::string line = r.out.substr(at, end - at);
    EXPECT_EQ(std::to_string(k), line.substr(0, line.find(','))) << line;
    at = end + 1;
  }
  EXPECT_EQ(r.out.size(), at);
}

TEST(Jobs, BadJobCounts) {
  const struct {
    std::vector<std::string> args;
    const char* err_line;
  } cases[] = {
      {{"swell", "--batch", "-", "--jobs", "0"}, nullptr},
      {{"swell", "--batch", "-", "--jobs", "two"}, nullptr},
      {{"swell", "10", "3", "--jobs", "2"},
       "morvelstandrik: swell: --jobs is for a batch"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args, "period_s,height_m\n10,3\n", 0);
    EXPECT_EQ(2, r.status) << c.args.back();
    EXPECT_EQ("", r.out);
    if (c.err_line) {
      EXPECT_EQ(c.err_line, r.err.substr(0, r.err.find('\n')));
    }
  }
}

}  // namespace
}  // namespace cli

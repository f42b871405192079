// Values that read as numbers but that a command refuses, with the range,
// as one case and as a batch row.
#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

// A swell of no height, or less, or of no period, is refused with the
// range, as one case and as a batch row.
TEST(Refusals, SwellRefusesWhatIsNotPositive) {
  const struct {
    const char* period;
    const char* height;
    const char* message;
  } cases[] = {
      {"10", "0", "HEIGHT: '0' is not positive; give a height above 0 m"},
      {"10", "-3", "HEIGHT: '-3' is not positive; give a height above 0 m"},
      {"10", "-0", "HEIGHT: '-0' is not positive; give a height above 0 m"},
      {"10", "1e-50",
       "HEIGHT: '1e-50' is not positive; give a height above "
       "0 m"},  // a float of 0
      {"0", "3",
       "PERIOD: '0' is shorter than the 0.1 s the swell table "
       "starts at"},
      {"-3", "3",
       "PERIOD: '-3' is shorter than the 0.1 s the swell table "
       "starts at"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli({"swell", c.period, c.height});
    EXPECT_EQ(2, r.status) << c.message;
    EXPECT_EQ("", r.out);
    EXPECT_EQ(std::string("morvelstandrik: swell: ") + c.message,
              r.err.substr(0, r.err.find('\n')));
    const Outcome b = run_cli(
        {"swell", "--batch", "-"},
        std::string("period_s,height_m\n") + c.period + "," + c.height + "\n");
    EXPECT_EQ(1, b.status);
    std::string cell = c.message;
    cell.replace(0, cell.find(':'),
                 c.message[0] == 'H' ? "height_m" : "period_s");
    EXPECT_EQ("morvelstandrik: swell: standard input:2: " + cell + "\n", b.err);
  }
  // The smallest height there is: a swell below the table, computed.
  EXPECT_EQ(0, run_cli({"swell", "10", "0.01"}).status);
}

}  // namespace
}  // namespace cli

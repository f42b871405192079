// Wind, fetch, depth and height in the sailor's units: the unit options and
// the batch columns that name a unit, through the whole command line.
#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

// A unit of an entry, with its length in the engine's unit written out
// here (num / den, exact integers): a knot is 1852 m an hour, a statute
// mile 1609.344 m, a foot 0.3048 m, a fathom six feet.
struct UnitCase {
  const char* command;
  std::size_t entry;  // its place among the command's arguments
  const char* option;
  const char* unit;
  const char* column;         // the batch column naming the unit
  const char* engine_column;  // the entry's own column
  long double num, den;       // 0, 0: the Beaufort scale
};

constexpr UnitCase kUnits[] = {
    {"windsea", 0, "--wind-unit", "kt", "wind_kt", "wind_kt", 1, 1},
    {"windsea", 0, "--wind-unit", "m/s", "wind_ms", "wind_kt", 3600, 1852},
    {"windsea", 0, "--wind-unit", "km/h", "wind_kmh", "wind_kt", 1000, 1852},
    {"windsea", 0, "--wind-unit", "mph", "wind_mph", "wind_kt", 1609344,
     1852000},
    {"windsea", 0, "--wind-unit", "bft", "wind_bft", "wind_kt", 0, 0},
    {"windsea", 2, "--fetch-unit", "km", "fetch_km", "fetch_km", 1, 1},
    {"windsea", 2, "--fetch-unit", "nmi", "fetch_nmi", "fetch_km", 1852, 1000},
    {"windsea", 2, "--fetch-unit", "mi", "fetch_mi", "fetch_km", 1609344,
     1000000},
    {"windsea", 3, "--depth-unit", "m", "depth_m", "depth_m", 1, 1},
    {"windsea", 3, "--depth-unit", "ft", "depth_ft", "depth_m", 3048, 10000},
    {"windsea", 3, "--depth-unit", "fathom", "depth_fathom", "depth_m",
     6 * 3048, 10000},
    {"swell", 1, "--height-unit", "m", "height_m", "height_m", 1, 1},
    {"swell", 1, "--height-unit", "ft", "height_ft", "height_m", 3048, 10000},
};

// The means of the Beaufort forces in knots: the middle of each force's
// range on the WMO scale in whole knots (force 3 is 7 to 10 kt), force 12
// its lower limit.
constexpr float kForceMeans[] = {0.0f,  2.0f,  5.0f,  8.5f,  13.5f,
                                 19.0f, 24.5f, 30.5f, 37.0f, 44.0f,
                                 51.5f, 59.5f, 64.0f};

std::vector<std::string> base(const std::string& command) {
  if (command == "swell") return {"10", "3"};
  return {"20", "10", "100", "10"};
}

std::string columns(const UnitCase& u, const char* entry_column) {
  std::string header = std::string(u.command) == "swell"
                           ? "id,period_s,height_m"
                           : "id,wind_kt,duration_h,fetch_km,depth_m";
  header.replace(header.find(u.engine_column),
                 std::string(u.engine_column).size(), entry_column);
  return header;
}

std::string shortest_enough(float f) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(f));
  return text;
}

// The float a value text in unit u must reach the engine as, worked out
// with a long double product rounded once.
float expected(const UnitCase& u, const std::string& text) {
  const double value = std::strtod(text.c_str(), nullptr);
  if (u.den == 0) return kForceMeans[static_cast<int>(value)];
  return static_cast<float>(static_cast<long double>(value) * u.num / u.den);
}

std::vector<std::string> values(const UnitCase& u) {
  if (u.den == 0) {
    return {"0", "1", "2",  "3",  "4",  "5",   "6",  "7",
            "8", "9", "10", "11", "12", "3.0", "+4", "5e0"};
  }
  std::vector<std::string> texts = {"10", "1e1", "65", "0.05", "7.77"};
  for (int i = 1; i <= 30; ++i) {
    char text[16];
    std::snprintf(text, sizeof text, "%.2f", 0.37 * i);
    texts.push_back(text);
  }
  return texts;
}

// A value in any unit gives exactly the output of the converted float
// given in the engine's unit, as one case (text and JSON), as --lines, and
// in a batch whose column names the unit; and for each unit other than the
// engine's, some of the values would reach another float if they were
// rounded to float before the conversion.
TEST(UnitOptions, TheConvertedFloatGivesTheSameBits) {
  for (const UnitCase& u : kUnits) {
    std::string batch = columns(u, u.column) + "\n";
    std::string converted_batch = columns(u, u.engine_column) + "\n";
    std::string lines, converted_lines;
    int rounded_twice_differs = 0;
    for (const std::string& text : values(u)) {
      const float engine = expected(u, text);
      const std::string x = shortest_enough(engine);
      if (u.den != 0 && static_cast<float>(static_cast<long double>(std::strtof(
                                               text.c_str(), nullptr)) *
                                           u.num / u.den) != engine) {
        ++rounded_twice_differs;
      }
      // The rows of a batch: those computed (a refusal names the column).
      bool computed = true;
      for (const char* format : {"text", "json"}) {
        std::vector<std::string> given = base(u.command);
        given[u.entry] = text;
        given.insert(given.begin(), u.command);
        given.insert(given.end(), {u.option, u.unit, "--format", format});
        std::vector<std::string> plain = base(u.command);
        plain[u.entry] = x;
        plain.insert(plain.begin(), u.command);
        plain.insert(plain.end(), {"--format", format});
        const Outcome a = run_cli(given);
        const Outcome b = run_cli(plain);
        EXPECT_EQ(a.status, b.status) << text << ' ' << u.unit;
        EXPECT_EQ(a.out, b.out) << text << ' ' << u.unit << " vs " << x;
        if (b.status == 0) {
          EXPECT_EQ(a.err, b.err) << text << ' ' << u.unit;
        }
        computed = b.status == 0;
      }
      if (!computed) continue;
      std::vector<std::string> row = base(u.command);
      row[u.entry] = text;
      std::string line = row[0];
      for (std::size_t i = 1; i < row.size(); ++i) line += "," + row[i];
      batch += "r," + line + "\n";
      lines += line + "\n";
      row[u.entry] = x;
      line = row[0];
      for (std::size_t i = 1; i < row.size(); ++i) line += "," + row[i];
      converted_batch += "r," + line + "\n";
      converted_lines += line + "\n";
    }
    if (u.den != 0 && u.num != u.den) {
      EXPECT_GT(rounded_twice_differs, 0) << u.unit;
    }
    for (const char* format : {"csv", "json"}) {
      const Outcome a =
          run_cli({u.command, "--batch", "-", "--format", format}, batch);
      const Outcome b = run_cli({u.command, "--batch", "-", "--format", format},
                                converted_batch);
      EXPECT_EQ(a.status, b.status) << u.column;
      EXPECT_EQ(a.out, b.out) << u.column;
      const Outcome c = run_cli(
          {u.command, "--lines", u.option, u.unit, "--format", format}, lines);
      const Outcome d =
          run_cli({u.command, "--lines", "--format", format}, converted_lines);
      EXPECT_EQ(c.status, d.status) << u.unit;
      EXPECT_EQ(c.out, d.out) << u.unit;
    }
  }
}

// The results' unit-named fields hold the values used, converted: 10 m/s
// is 19.438444924... kt, 54 nmi 100.008 km, 5 fathoms 9.144 m, 10 ft
// 3.048 m.
TEST(UnitOptions, ResultsNameTheEngineUnits) {
  const Outcome w = run_cli({"windsea", "10", "10", "54", "5", "--wind-unit",
                             "m/s", "--fetch-unit", "nmi", "--depth-unit",
                             "fathom", "--format", "json"});
  ASSERT_EQ(0, w.status) << w.err;
  EXPECT_EQ(0u, w.out.find("{\"wind_kt\":19.438444,\"beaufort\":5,\"duration_"
                           "h\":10,\"fetch_km\":100.008,\"depth_m\":9.144,"))
      << w.out;
  const Outcome s =
      run_cli({"swell", "10", "10", "--height-unit", "ft", "--format", "json"});
  EXPECT_EQ(0u, s.out.find("{\"period_s\":10,\"height_m\":3.048,")) << s.out;
  // A Beaufort force is the mean of its range: force 5 is 17 to 21 kt.
  const Outcome b = run_cli(
      {"windsea", "5", "10", "100", "10", "--wind-unit=bft", "--format=json"});
  EXPECT_EQ(0u, b.out.find("{\"wind_kt\":19,\"beaufort\":5,")) << b.out;
}

// Usage errors: status 2, one line naming the option or the entry and what
// is allowed, nothing on standard output.
TEST(UnitOptions, Refusals) {
  const struct {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"windsea", "10", "10", "100", "10", "--wind-unit", "knots"},
       "windsea: --wind-unit: 'knots' is not a wind unit; use kt, m/s, km/h, "
       "mph or bft"},
      {{"windsea", "10", "10", "100", "10", "--fetch-unit", "ft"},
       "windsea: --fetch-unit: 'ft' is not a fetch unit; use km, nmi or mi"},
      {{"windsea", "10", "10", "100", "10", "--depth-unit=fathoms"},
       "windsea: --depth-unit: 'fathoms' is not a depth unit; use m, ft or "
       "fathom"},
      {{"windsea", "10", "10", "100", "10", "--wind-unit", "M/S"},
       "windsea: --wind-unit: 'M/S' is not a wind unit; use kt, m/s, km/h, "
       "mph or bft"},
      {{"swell", "10", "3", "--height-unit", "fathom"},
       "swell: --height-unit: 'fathom' is not a height unit; use m or ft"},
      {{"windsea", "3.5", "10", "100", "10", "--wind-unit", "bft"},
       "windsea: WIND: '3.5' is not a whole Beaufort force from 0 to 12"},
      {{"windsea", "13", "10", "100", "10", "--wind-unit", "bft"},
       "windsea: WIND: '13' is not a whole Beaufort force from 0 to 12"},
      {{"windsea", "-1", "10", "100", "10", "--wind-unit", "bft"},
       "windsea: WIND: '-1' is not a whole Beaufort force from 0 to 12"},
      {{"windsea", "--wind=1e3", "10", "100", "10", "--wind-unit", "bft"},
       "windsea: --wind: '1e3' is not a whole Beaufort force from 0 to 12"},
      {{"windsea", "0", "10", "100", "10", "--wind-unit", "bft"},
       "windsea: WIND: '0' raises no sea; give a wind above 0.01 kt"},
      {{"windsea", "-3", "10", "100", "10", "--wind-unit", "m/s"},
       "windsea: WIND: '-3' is negative; give the wind's speed (and "
       "--relative, or the model relative-wind, for the sea raised by the "
       "wind relative to the water)"},
      {{"windsea", "3e38", "10", "100", "10", "--wind-unit", "m/s"},
       "windsea: WIND: '3e38' is not a finite number"},
      {{"windsea", "x", "10", "100", "10", "--wind-unit", "m/s"},
       "windsea: WIND: 'x' is not a number"},
      // A unit option for a quantity the command does not take.
      {{"swell", "10", "3", "--fetch-unit", "km"},
       "swell: --fetch-unit: swell has no fetch; its unit options: "
       "--height-unit"},
      {{"swell", "10", "3", "--wind-unit=m/s"},
       "swell: --wind-unit: swell has no wind; its unit options: "
       "--height-unit"},
      {{"swell", "--depth-unit", "ft", "10", "3"},
       "swell: --depth-unit: swell has no depth; its unit options: "
       "--height-unit"},
      {{"windsea", "20", "10", "100", "10", "--height-unit", "ft"},
       "windsea: --height-unit: windsea has no height; its unit options: "
       "--wind-unit, --fetch-unit, --depth-unit"},
      // A batch file names its units in its columns.
      {{"windsea", "--batch", "-", "--wind-unit", "m/s"},
       "windsea: --wind-unit is for values given here or with --lines; a "
       "batch file names the unit in its column: wind_kt, wind_ms, "
       "wind_kmh, wind_mph or wind_bft"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args, "wind_kt,duration_h,fetch_km,depth_m\n");
    EXPECT_EQ(2, r.status) << c.message;
    EXPECT_EQ("", r.out) << c.message;
    EXPECT_EQ(std::string("morvelstandrik: ") + c.message,
              r.err.substr(0, r.err.find('\n')));
  }
  // After "--" a word is a value, not an option.
  EXPECT_EQ(2, run_cli({"swell", "10", "--", "--fetch-unit"}).status);
  EXPECT_EQ(
      std::string::npos,
      run_cli({"swell", "10", "--", "--fetch-unit"}).err.find("no fetch"));
}

// A header that gives one quantity in two units is refused as a whole;
// the same column twice keeps its own message.
TEST(UnitOptions, OneColumnForEachQuantity) {
  const struct {
    const char* command;
    const char* header;
    const char* message;
  } cases[] = {
      {"windsea", "wind_kt,wind_ms,duration_h,fetch_km,depth_m",
       "the header gives the wind twice: wind_kt and wind_ms; keep one of "
       "them"},
      {"windsea", "Wind_BFT,duration_h,fetch_km,depth_m,WIND_KMH",
       "the header gives the wind twice: Wind_BFT and WIND_KMH; keep one of "
       "them"},
      {"windsea", "wind_kt,duration_h,fetch_nmi,depth_m,fetch_mi",
       "the header gives the fetch twice: fetch_nmi and fetch_mi; keep one of "
       "them"},
      {"windsea", "wind_kt,duration_h,fetch_km,depth_fathom,depth_m",
       "the header gives the depth twice: depth_fathom and depth_m; keep one "
       "of them"},
      {"swell", "period_s,height_ft,height_m",
       "the header gives the height twice: height_ft and height_m; keep one "
       "of them"},
      {"swell", "period_s,height_ft,Height_FT",
       "the header names column Height_FT twice"},
  };
  for (const auto& c : cases) {
    const Outcome r =
        run_cli({c.command, "--batch", "-"}, std::string(c.header) + "\n");
    EXPECT_EQ(2, r.status) << c.header;
    EXPECT_EQ("", r.out);
    EXPECT_EQ(std::string("morvelstandrik: ") + c.command +
                  ": standard input: " + c.message,
              r.err.substr(0, r.err.find('\n')));
  }
}

// A bad value in a unit column is an error row named by its column; the
// good rows go on.
TEST(UnitOptions, BadValuesInUnitColumnsAreErrorRows) {
  const Outcome r = run_cli({"windsea", "--batch", "-"},
                            "id,wind_bft,duration_h,fetch_nmi,depth_ft\n"
                            "a,5,10,54,30\n"
                            "b,5.5,10,54,30\n"
                            "c,5,10,x,30\n"
                            "d,5,10,54,\n"
                            "e,12,10,54,30\n");
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(
      "morvelstandrik: windsea: standard input:3: wind_bft: '5.5' is not a "
      "whole Beaufort force from 0 to 12\n"
      "morvelstandrik: windsea: standard input:4: fetch_nmi: 'x' is not a "
      "number\n"
      "morvelstandrik: windsea: standard input:5: depth_ft: '' is empty; give "
      "a number\n",
      r.err);
  std::vector<std::string> rows;
  for (std::size_t at = 0, end; (end = r.out.find('\n', at)) != r.out.npos;
       at = end + 1) {
    rows.push_back(r.out.substr(at, end - at));
  }
  ASSERT_EQ(6u, rows.size());
  // Force 5 is 19 kt, 54 nmi 100.008 km, 30 ft 9.144 m; force 12 64 kt.
  EXPECT_EQ(0u, rows[1].find("a,19,5,10,100.008,9.144,0,")) << rows[1];
  EXPECT_EQ(0u, rows[5].find("e,64,12,10,100.008,9.144,0,")) << rows[5];
  for (std::size_t i : {2u, 3u, 4u}) {
    EXPECT_NE(std::string::npos, rows[i].find(",,,,")) << rows[i];
  }
}

// A semicolon file's decimal commas are read in unit columns too: 36 km/h,
// 62,1 mi and 32,8 ft are the floats of 36 * 1000/1852 kt, 62.1 *
// 1.609344 km and 32.8 * 0.3048 m.
TEST(UnitOptions, DecimalCommasInUnitColumns) {
  const UnitCase& kmh = kUnits[2];
  const UnitCase& mi = kUnits[7];
  const UnitCase& ft = kUnits[9];
  ASSERT_STREQ("km/h", kmh.unit);
  ASSERT_STREQ("mi", mi.unit);
  ASSERT_STREQ("ft", ft.unit);
  const Outcome a = run_cli({"windsea", "--batch", "-"},
                            "Wind_KMH;duration_h;Fetch_MI;depth_ft\n"
                            "36;10;62,1;32,8\n");
  const Outcome b = run_cli({"windsea", "--batch", "-"},
                            "wind_kt,duration_h,fetch_km,depth_m\n" +
                                shortest_enough(expected(kmh, "36")) + ",10," +
                                shortest_enough(expected(mi, "62.1")) + "," +
                                shortest_enough(expected(ft, "32.8")) + "\n");
  EXPECT_EQ(0, a.status) << a.err;
  EXPECT_EQ(b.out, a.out);
}

// The help tells each command's unit options and unit columns, and only
// its own.
TEST(UnitOptions, TheHelpListsTheUnits) {
  const Outcome w = run_cli({"windsea", "--help"});
  const Outcome s = run_cli({"swell", "--help"});
  for (const char* said :
       {"--wind-unit", "--fetch-unit", "--depth-unit", "wind_ms", "wind_bft",
        "fetch_nmi", "depth_fathom", "kt, m/s, km/h, mph or bft"}) {
    EXPECT_NE(std::string::npos, w.out.find(said)) << said;
  }
  EXPECT_EQ(std::string::npos, w.out.find("--height-unit"));
  EXPECT_NE(std::string::npos, s.out.find("--height-unit"));
  EXPECT_NE(std::string::npos, s.out.find("height_ft"));
  EXPECT_EQ(std::string::npos, s.out.find("--wind-unit"));
}

}  // namespace
}  // namespace cli

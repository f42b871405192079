#include "morvelstandrik/cli/commands.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/run_cli_test.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

std::string latin1_as_utf8(const std::string& bytes) {
  std::string utf8;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    if (b < 0x80) {
      utf8.push_back(ch);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (b >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (b & 0x3F)));
    }
  }
  return utf8;
}

// Named options are the arguments by another name: the same report, in
// any order, mixed with arguments, which take the entries not named.
TEST(NamedOptions, GiveTheSameReportAsTheArguments) {
  const struct {
    std::vector<std::string> positional, named;
  } cases[] = {
      {{"windsea", "20", "10", "100", "10"},
       {"windsea", "--depth=10", "--fetch", "100", "--wind", "20",
        "--duration=10"}},
      {{"windsea", "30", "24", "500", "20", "-2.5", "--relative"},
       {"windsea", "--current=-2.5", "--wind=30", "24", "500", "20",
        "--relative"}},
      {{"swell", "10", "3", "--format", "json"},
       {"swell", "--height=3", "--period=10", "--format", "json"}},
  };
  for (const auto& c : cases) {
    const Outcome a = run_cli(c.positional);
    const Outcome b = run_cli(c.named);
    EXPECT_EQ(0, b.status) << b.err;
    EXPECT_NE("", a.out);
    EXPECT_EQ(a.out, b.out);
    EXPECT_EQ(a.err, b.err);
  }
}

TEST(NamedOptions, ARefusedOptionIsNamedAsTyped) {
  const struct {
    std::vector<std::string> args;
    const char* err_line;
  } cases[] = {
      {{"windsea", "--wind=20", "--duration=x", "--fetch=1", "--depth=1"},
       "morvelstandrik: windsea: --duration: 'x' is not a number"},
      {{"windsea", "20", "10", "100", "10", "0", "--wind=30"},
       "morvelstandrik: windsea: too many values: those not given by name are "
       "DURATION FETCH DEPTH CURRENT"},
      {{"windsea", "--wind=20", "--duration=10", "--fetch=100"},
       "morvelstandrik: windsea: DEPTH is missing; give WIND DURATION FETCH "
       "DEPTH [CURRENT]"},
      {{"swell", "--period=0.05", "--height=1"},
       "morvelstandrik: swell: --period: '0.05' is shorter than the 0.1 s the "
       "swell table starts at"},
      {{"swell", "10", "3", "--with-report"},
       "morvelstandrik: swell: --with-report goes with --format json"},
      {{"windsea", "--batch", "-", "--wind=3"},
       "morvelstandrik: windsea: --batch reads its cases from -; give no "
       "values besides"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ("", r.out);
    EXPECT_EQ(c.err_line, r.err.substr(0, r.err.find('\n')));
  }
}

// Under --format json a refused entry comes back as a record that says
// which entry, what was given, what is wrong and the model's range, beside
// the usual message on standard error.
TEST(StructuredError, SaysWhichEntryWhatIsWrongAndTheRange) {
  const struct {
    std::vector<std::string> args;
    const char* entry;
    const char* name;
    const char* given;  // nullptr: null
    const char* problem;
    double low, high;  // NaN: null
    const char* unit;
  } cases[] = {
      {{"windsea", "12,5", "10", "100", "10"},
       "wind",
       "WIND",
       "12,5",
       "is not a number; use a decimal point",
       1,
       65,
       "kt"},
      // "--depth=" is an empty depth, not the option taking the next
      // argument as its value.
      {{"windsea", "--wind=20", "--duration=10", "--fetch=100", "--depth="},
       "depth",
       "--depth",
       "",
       "is empty; give a number",
       1,
       5000,
       "m"},
      {{"windsea", "20", "10", "100"},
       "depth",
       "DEPTH",
       nullptr,
       "is missing; give WIND DURATION FETCH DEPTH [CURRENT]",
       1,
       5000,
       "m"},
      {{"windsea", "--wind=0", "10", "100", "10"},
       "wind",
       "--wind",
       "0",
       "raises no sea; give a wind above 0.01 kt",
       1,
       65,
       "kt"},
      {{"windsea", "20", "10", "100", "10", "1e39"},
       "current",
       "CURRENT",
       "1e39",
       "is not a finite number",
       -15,
       15,
       "kt"},
      {{"swell", "0.05", "1"},
       "period",
       "PERIOD",
       "0.05",
       "is shorter than the 0.1 s the swell table starts at",
       0.1,
       NAN,
       "s"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--format", "json"});
    const Outcome r = run_cli(args);
    ASSERT_EQ(2, r.status);
    ASSERT_EQ(1, std::count(r.out.begin(), r.out.end(), '\n')) << r.out;
    const auto e = nlohmann::json::parse(r.out)["error"];
    EXPECT_EQ(c.entry, e["entry"]);
    EXPECT_EQ(c.name, e["name"]);
    if (c.given) {
      EXPECT_EQ(c.given, e["given"]);
    } else {
      EXPECT_TRUE(e["given"].is_null());
    }
    EXPECT_EQ(c.problem, e["problem"]);
    // The message is the one standard error gives.
    const std::string said = r.err.substr(0, r.err.find('\n'));
    EXPECT_EQ(said.substr(said.find(": ", said.find(": ") + 2) + 2),
              e["message"]);
    EXPECT_FLOAT_EQ(static_cast<float>(c.low),
                    e["range"]["low"].template get<float>());
    if (std::isnan(c.high)) {
      EXPECT_TRUE(e["range"]["high"].is_null());
    } else {
      EXPECT_FLOAT_EQ(static_cast<float>(c.high),
                      e["range"]["high"].template get<float>());
    }
    EXPECT_EQ(c.unit, e["range"]["unit"]);
  }
  // The text format says it on standard error alone.
  EXPECT_EQ("", run_cli({"windsea", "x", "1", "1", "1"}).out);
}

// The report carried in the JSON is the one-shot text, byte for byte (its
// single non-ASCII byte as the character it stands for).
TEST(WithReport, JsonCarriesTheTextReport) {
  const std::vector<std::vector<std::string>> cases = {
      {"windsea", "20", "10", "100", "10"},
      {"windsea", "30", "24", "500", "1"},  // grounding: the byte 0xF5
      {"windsea", "20", "10", "100", "5000", "-15"},
      {"swell", "10", "0.5"},
  };
  for (const auto& args : cases) {
    std::vector<std::string> json_args = args;
    json_args.insert(json_args.end(), {"--format", "json", "--with-report"});
    const Outcome text = run_cli(args);
    const Outcome json = run_cli(json_args);
    ASSERT_EQ(0, json.status) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    EXPECT_EQ(latin1_as_utf8(text.out), j["report"]) << args[1];
    // The other members are there as without the report.
    json_args.pop_back();
    auto plain = nlohmann::json::parse(run_cli(json_args).out);
    plain["report"] = j["report"];
    EXPECT_EQ(plain, j);
  }
  // In a batch each row carries its report; a refused row has none.
  const Outcome b =
      run_cli({"swell", "--batch", "-", "--format", "json", "--with-report"},
              "period_s,height_m\n10,0.5\n0,1\n");
  std::istringstream lines(b.out);
  std::string line;
  std::getline(lines, line);
  EXPECT_EQ(latin1_as_utf8(run_cli({"swell", "10", "0.5"}).out),
            nlohmann::json::parse(line)["report"]);
  std::getline(lines, line);
  EXPECT_TRUE(nlohmann::json::parse(line)["report"].is_null());
}

// The unit options and columns come from the quantity: a column is the
// quantity's name and the unit's without its slash, and an entry's own
// column is that of the engine's unit, so a file may give either.
TEST(Table, UnitColumnsAndOptions) {
  const struct {
    units::Quantity q;
    std::string_view unit, column;
  } cases[] = {
      {units::Quantity::wind, "m/s", "wind_ms"},
      {units::Quantity::wind, "km/h", "wind_kmh"},
      {units::Quantity::wind, "bft", "wind_bft"},
      {units::Quantity::fetch, "nmi", "fetch_nmi"},
      {units::Quantity::depth, "fathom", "depth_fathom"},
      {units::Quantity::height, "ft", "height_ft"},
  };
  for (const auto& c : cases) {
    ASSERT_NE(nullptr, units::find(c.q, c.unit)) << c.unit;
    EXPECT_EQ(c.column, unit_column(*units::find(c.q, c.unit)));
  }
  EXPECT_EQ("fetch-unit", unit_option(units::Quantity::fetch));
  std::size_t with_units = 0;
  for (const Command& c : commands()) {
    for (const Entry& e : c.entries) {
      if (!e.quantity) continue;
      ++with_units;
      EXPECT_EQ(e.column, unit_column(units::engine_unit(*e.quantity)));
      EXPECT_EQ(e.unit, units::engine_unit(*e.quantity).name);
      // One entry of a quantity in a command, or its option would be
      // ambiguous.
      std::size_t same = 0;
      for (const Entry& other : c.entries) same += other.quantity == e.quantity;
      EXPECT_EQ(1u, same) << e.column;
    }
  }
  EXPECT_EQ(4u, with_units);  // wind, fetch, depth; the swell's height
}

// The man page documents every entry of the table under all its names,
// and every field of the results.
TEST(Table, TheManualNamesEveryEntry) {
  std::ifstream file(MORVEL_SOURCE_DIR "/morvelstandrik.1");
  std::stringstream text;
  text << file.rdbuf();
  const std::string manual = text.str();
  ASSERT_NE("", manual);
  for (const Command& c : commands()) {
    EXPECT_NE(std::string::npos, manual.find(std::string(c.name)));
    for (const Entry& e : c.entries) {
      for (std::string_view name : {e.argument, e.column}) {
        EXPECT_NE(std::string::npos, manual.find(std::string(name)))
            << c.name << " " << name;
      }
      const std::string option = "\\-\\-" + std::string(e.option);
      EXPECT_NE(std::string::npos, manual.find(option)) << option;
      // An entry in the sailor's units: its unit option, and the batch
      // column of each unit.
      if (!e.quantity) continue;
      std::string unit_option = "\\-\\-" + cli::unit_option(*e.quantity);
      unit_option.insert(unit_option.rfind('-'), "\\");
      EXPECT_NE(std::string::npos, manual.find(unit_option)) << unit_option;
      for (const units::Unit& u : units::table()) {
        if (u.quantity != *e.quantity) continue;
        EXPECT_NE(std::string::npos, manual.find(unit_column(u)))
            << unit_column(u);
      }
    }
    // And every result field, by the names it is nested under.
    for (const std::string& column : result_columns(c)) {
      std::istringstream parts(column);
      for (std::string part; std::getline(parts, part, '.');) {
        if (part.find_first_not_of("0123456789") == std::string::npos) continue;
        EXPECT_NE(std::string::npos, manual.find(part)) << column;
      }
    }
  }
}

}  // namespace
}  // namespace cli

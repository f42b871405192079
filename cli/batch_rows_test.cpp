// Batches from the command line: every row answered in order, with its
// errors and carried columns; JSON Lines; the header's problems.
#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/csv.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

float as_float(const nlohmann::json& v) {
  return static_cast<float>(v.template get<double>());
}

std::vector<std::vector<std::string>> csv_rows(const std::string& text) {
  shell::MemorySource source(text);
  CsvReader reader(source);
  std::vector<std::vector<std::string>> rows;
  Record r;
  while (reader.next(r)) rows.push_back(r.fields);
  return rows;
}

std::size_t column(const std::vector<std::string>& header,
                   const std::string& name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (header[i] == name) return i;
  }
  ADD_FAILURE() << "no column " << name;
  return 0;
}

TEST(Batch, EveryRowInOrderWithItsErrorsAndCarriedColumns) {
  const std::string input =
      "\xEF\xBB\xBFid,wind_kt,duration_h,fetch_km,depth_m,current_kt,"
      "\"place, name\"\r\n"
      "a1,20,10,100,10,0,\"Kiel, outer\"\r\n"
      "a2,\"12,5\",10,100,10,0,x\r\n"
      "a3,20,10,100\r\n"
      "a4,20,10,100,10,,\"say \"\"hi\"\"\"\r\n"
      "a5,-20,10,100,10,0,y\r\n"
      "a6,100,10,100,10,-8,z\r\n";
  const Outcome r = run_cli({"windsea", "--batch", "-"}, input);
  EXPECT_EQ(1, r.status);
  const auto rows = csv_rows(r.out);
  ASSERT_EQ(7u, rows.size());
  const auto& header = rows[0];
  EXPECT_EQ("id", header[0]);
  EXPECT_EQ("place, name", header[1]);
  EXPECT_EQ("wind_kt", header[2]);
  EXPECT_EQ("error", header.back());
  const std::size_t err = column(header, "error");
  const std::size_t hc = column(header, "wave.height_m");
  const std::size_t notes = column(header, "notes");
  const char* ids[] = {"a1", "a2", "a3", "a4", "a5", "a6"};
  for (std::size_t i = 1; i < rows.size(); ++i) {
    ASSERT_EQ(header.size(), rows[i].size()) << i;
    EXPECT_EQ(ids[i - 1], rows[i][0]);
  }
  EXPECT_EQ("Kiel, outer", rows[1][1]);
  EXPECT_EQ("say \"hi\"", rows[4][1]);
  EXPECT_EQ("", rows[1][err]);
  EXPECT_EQ("", rows[4][err]);
  EXPECT_EQ("", rows[6][err]);
  EXPECT_EQ("wind_kt: '12,5' is not a number; use a decimal point",
            rows[2][err]);
  EXPECT_EQ("4 fields where the header has 7", rows[3][err]);
  EXPECT_EQ(0u, rows[5][err].find("wind_kt: '-20' is negative"));
  EXPECT_EQ("", rows[2][hc]);
  // The same case one at a time gives the same value.
  const auto one = nlohmann::json::parse(
      run_cli({"windsea", "20", "10", "100", "10", "0", "--format", "json"})
          .out);
  EXPECT_EQ(as_float(one["wave"]["height_m"]),
            std::strtof(rows[1][hc].c_str(), nullptr));
  EXPECT_EQ(rows[1][hc], rows[4][hc]);  // an empty current is 0
  EXPECT_EQ("wind_compressed", rows[6][notes]);
  EXPECT_EQ("blocked", rows[6][column(header, "status")]);
  // Standard error names each bad line, one line each.
  const std::string where = "morvelstandrik: windsea: standard input:";
  EXPECT_NE(std::string::npos,
            r.err.find(where + "3: wind_kt: '12,5' is not a number; use a "
                               "decimal point\n"));
  EXPECT_NE(std::string::npos,
            r.err.find(where + "4: 4 fields where the header has 7\n"));
  EXPECT_NE(std::string::npos, r.err.find(where + "6: wind_kt: '-20'"));
  EXPECT_EQ(3, std::count(r.err.begin(), r.err.end(), '\n'));
}

TEST(Batch, JsonLinesAndTheModelColumn) {
  const std::string input =
      "wind_kt,duration_h,fetch_km,depth_m,current_kt,model,id\n"
      "20,10,100,5000,5,relative-wind,r\n"
      "20,10,100,5000,5,deep-water,d\n"
      "20,10,100,5000,5,,default\n"
      "20,10,100,5000,5,sideways,bad\n";
  const Outcome r =
      run_cli({"windsea", "--batch", "-", "--format", "json"}, input);
  EXPECT_EQ(1, r.status);
  std::vector<nlohmann::json> lines;
  std::size_t from = 0;
  for (std::size_t nl; (nl = r.out.find('\n', from)) != std::string::npos;
       from = nl + 1) {
    lines.push_back(nlohmann::json::parse(r.out.substr(from, nl - from)));
  }
  ASSERT_EQ(4u, lines.size());
  EXPECT_EQ("relative-wind", lines[0]["model"]);
  EXPECT_EQ("deep-water", lines[1]["model"]);
  EXPECT_EQ("deep-water", lines[2]["model"]);
  EXPECT_NE(lines[0]["wave"]["height_m"], lines[1]["wave"]["height_m"]);
  EXPECT_EQ("r", lines[0]["input"]["id"]);
  EXPECT_EQ(2, lines[0]["line"]);
  EXPECT_TRUE(lines[0]["error"].is_null());
  EXPECT_EQ(5, lines[3]["line"]);
  EXPECT_EQ(
      "model: 'sideways' is not a model; use deep-water or "
      "relative-wind",
      lines[3]["error"]);
  EXPECT_FALSE(lines[3].contains("wave"));
}

TEST(Batch, SwellRowsAndHeaderProblems) {
  Outcome r = run_cli({"swell", "--batch", "-"},
                      "height_m,period_s\n3,10\n0.5,10\n3,0\n");
  EXPECT_EQ(1, r.status);
  const auto rows = csv_rows(r.out);
  ASSERT_EQ(4u, rows.size());
  const std::size_t shown = column(rows[0], "distance_shown_km");
  EXPECT_EQ("400", rows[1][shown]);
  EXPECT_EQ("1000", rows[2][shown]);
  EXPECT_EQ("below", rows[2][column(rows[0], "outcome")]);
  EXPECT_NE("", rows[3][column(rows[0], "error")]);

  const struct {
    const char* input;
    const char* message;
  } bad[] = {
      {"",
       "morvelstandrik: swell: standard input is empty; it needs a "
       "header"},
      {"period_s,depth\n",
       "morvelstandrik: swell: standard input: the "
       "header has no column height_m (found: period_s, depth; expected: "
       "period_s, height_m)"},
      {"period_s,height_m,period_s\n",
       "morvelstandrik: swell: standard input: the header names column "
       "period_s twice"},
  };
  for (const auto& c : bad) {
    r = run_cli({"swell", "--batch", "-"}, c.input);
    EXPECT_EQ(2, r.status) << c.input;
    EXPECT_EQ("", r.out);
    EXPECT_EQ(c.message, r.err.substr(0, r.err.find('\n')));
  }
  // A header alone: no rows, all well.
  r = run_cli({"swell", "--batch", "-"}, "period_s,height_m\n");
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(1u, csv_rows(r.out).size());
}

}  // namespace
}  // namespace cli

// Batch files as spreadsheets save them: separated by semicolons with
// decimal commas, CR LF line ends, a byte-order mark, names in any letter
// case. Each gives the numbers of the same cases in a comma file.
#include <gtest/gtest.h>

#include "morvelstandrik/cli/run_cli_test.hpp"

#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/csv.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

std::vector<std::vector<std::string>> read_rows(const std::string& text,
                                                char delimiter) {
  shell::MemorySource source(text);
  CsvReader reader(source, delimiter);
  std::vector<std::vector<std::string>> rows;
  Record r;
  while (reader.next(r)) rows.push_back(r.fields);
  return rows;
}

// Four wind seas: a decimal wind and current, an empty current, a light
// wind, and a row refused for its letters.
const std::string kCommaFile =
    "id,wind_kt,duration_h,fetch_km,depth_m,current_kt\n"
    "A,12.5,10,100,10,-1.5\n"
    "B,30,24,500,20,\n"
    "C,5,3,40,8,1\n"
    "D,x,3,40,8,1\n";

TEST(Spreadsheet, SemicolonFilesGiveTheCommaFilesNumbers) {
  const struct {
    const char* name;
    std::string file;
    std::vector<std::string> options;
  } cases[] = {
      {"semicolons, decimal commas",
       "id;wind_kt;duration_h;fetch_km;depth_m;current_kt\n"
       "A;12,5;10;100;10;-1,5\nB;30;24;500;20;\nC;5;3;40;8;1\nD;x;3;40;8;1\n",
       {}},
      {"decimal points in a semicolon file",
       "id;wind_kt;duration_h;fetch_km;depth_m;current_kt\n"
       "A;12.5;10;100;10;-1.5\nB;30;24;500;20;\nC;5;3;40;8;1\nD;x;3;40;8;1\n",
       {}},
      {"CR LF, byte-order mark, quoted cells",
       "\xEF\xBB\xBF\"id\";\"wind_kt\";duration_h;fetch_km;depth_m;current_kt"
       "\r\nA;\"12,5\";10;100;10;\"-1,5\"\r\nB;30;24;500;20;\r\n"
       "C;5;3;40;8;1\r\nD;x;3;40;8;1\r\n",
       {}},
      {"mixed-case names",
       "id;Wind_kt;DURATION_H;Fetch_Km;Depth_M;Current_KT\n"
       "A;12,5;10;100;10;-1,5\nB;30;24;500;20;\nC;5;3;40;8;1\nD;x;3;40;8;1\n",
       {}},
      {"mixed case in a comma file",
       "id,WIND_KT,Duration_h,fetch_KM,Depth_m,current_kt\r\n"
       "A,12.5,10,100,10,-1.5\r\nB,30,24,500,20,\r\nC,5,3,40,8,1\r\n"
       "D,x,3,40,8,1\r\n",
       {}},
  };
  for (const char* format : {"csv", "json"}) {
    const Outcome want =
        run_cli({"windsea", "--batch", "-", "--format", format}, kCommaFile);
    ASSERT_EQ(1, want.status);  // row D
    for (const auto& c : cases) {
      std::vector<std::string> args = {"windsea", "--batch", "-", "--format",
                                       format};
      args.insert(args.end(), c.options.begin(), c.options.end());
      const Outcome got = run_cli(args, c.file);
      EXPECT_EQ(want.status, got.status) << c.name;
      EXPECT_EQ(want.out, got.out) << c.name << " " << format;
      EXPECT_EQ(want.err, got.err) << c.name;
    }
  }
}

TEST(Spreadsheet, SwellFromASemicolonFile) {
  const Outcome want = run_cli({"swell", "--batch", "-"},
                               "period_s,height_m\n10,3\n12.5,0.75\n");
  const Outcome got = run_cli({"swell", "--batch", "-"},
                              "Period_S;Height_M\r\n10;3\r\n12,5;0,75\r\n");
  EXPECT_EQ(0, got.status) << got.err;
  EXPECT_EQ(want.out, got.out);
}

// Written with ';': the same cells, with decimal commas, and quotes where
// a cell holds a semicolon (two warnings, a message); read back as a
// spreadsheet does, they are the comma output's.
TEST(Spreadsheet, SemicolonOutputHasDecimalCommas) {
  const std::string file =
      "id,wind_kt,duration_h,fetch_km,depth_m,current_kt\n"
      "A,12.5,10,100,10,-1.5\n"
      "B,30,24,500,5,\n"  // dangerous shoal waves and hazardous breakers
      "C,-2,3,40,8,1\n";  // refused: "is negative; give ..."
  const Outcome commas = run_cli({"windsea", "--batch", "-"}, file);
  const Outcome semis =
      run_cli({"windsea", "--batch", "-", "--delimiter", ";"},
              "id;wind_kt;duration_h;fetch_km;depth_m;current_kt\n"
              "A;12,5;10;100;10;-1,5\nB;30;24;500;5;\nC;-2;3;40;8;1\n");
  EXPECT_EQ(1, semis.status);
  EXPECT_NE(std::string::npos,
            semis.out.find(";\"dangerous_shoal_waves;hazardous_breakers\";"));
  EXPECT_NE(std::string::npos, semis.out.find("\nA;12,5;"));
  const auto want = read_rows(commas.out, ',');
  auto got = read_rows(semis.out, ';');
  ASSERT_EQ(4u, got.size());
  for (std::size_t i = 1; i < got.size(); ++i) {
    const std::size_t error = got[i].size() - 1;
    for (std::size_t k = 0; k < error; ++k) {
      // Every cell but the error is a number, a code or codes.
      for (char& ch : got[i][k]) ch = ch == ',' ? '.' : ch;
    }
  }
  EXPECT_EQ(want, got);
}

TEST(Spreadsheet, HeadersThatCannotBeUsed) {
  const struct {
    std::vector<std::string> args;
    const char* input;
    const char* message;
  } cases[] = {
      {{"swell", "--batch", "-"},
       "Period;Height\n10;3\n",
       "morvelstandrik: swell: standard input: the header has no column "
       "period_s (found: Period, Height; expected: period_s, height_m)"},
      // A comma file read as semicolons: one column, named in full.
      {{"swell", "--batch", "-", "--delimiter", ";"},
       "period_s,height_m\n10,3\n",
       "morvelstandrik: swell: standard input: the header has no column "
       "period_s (found: period_s,height_m; expected: period_s, height_m)"},
      {{"swell", "--batch", "-", "--delimiter", "\t"},
       "period_s\theight_m\n",
       "morvelstandrik: swell: --delimiter: '\t' is not a delimiter; use ',' "
       "or ';'"},
      {{"swell", "10", "3", "--delimiter", ";"},
       "",
       "morvelstandrik: swell: --delimiter is for a batch or --lines"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args, c.input);
    EXPECT_EQ(2, r.status) << c.message;
    EXPECT_EQ("", r.out);
    EXPECT_EQ(c.message, r.err.substr(0, r.err.find('\n')));
  }
}

// In a comma file a decimal comma stays refused, as before.
TEST(Spreadsheet, CommaFilesRefuseDecimalCommas) {
  const Outcome r =
      run_cli({"swell", "--batch", "-"}, "period_s,height_m\n\"10,5\",3\n");
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(
      "morvelstandrik: swell: standard input:2: period_s: '10,5' is not a "
      "number; use a decimal point\n",
      r.err);
}

}  // namespace
}  // namespace cli

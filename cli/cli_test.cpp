#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/run_cli_test.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/dialogue/menu.hpp"
#include "morvelstandrik/dialogue/swell.hpp"
#include "morvelstandrik/dialogue/windsea.hpp"
#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/shell/test_session.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

// The reports the dialogue prints for a session, in order: from the report's
// title up to the closing tilde line.
std::vector<std::string> dialogue_reports(const std::string& input) {
  shell::testing::Session s(input);
  EXPECT_EQ("", s.run([&] {
    dialogue::main_menu(s.console, dialogue::ocean, dialogue::swell);
  }));
  const std::string title =
      "  ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ \n";
  const std::string closing = "  " + std::string(52, '~') + " \n";
  std::vector<std::string> reports;
  for (std::size_t at = s.out.text.find(title); at != std::string::npos;
       at = s.out.text.find(title, at + 1)) {
    reports.push_back(s.out.text.substr(at, s.out.text.find(closing, at) - at));
  }
  return reports;
}

using Entries =
    std::vector<std::string>;  // wind, duration, fetch, depth, current

// Every case typed into one dialogue session, each followed by ENTER to go
// on; a first wind below -0.5 switches that session to the relative wind.
std::string session(const std::vector<Entries>& cases) {
  std::string in = "1\n\n";
  for (const Entries& c : cases) {
    for (const std::string& e : c) in += e + "\n";
    in += "\n";
  }
  return in + "0\n0\n";
}

void expect_same_reports(const std::vector<Entries>& cases, bool relative) {
  std::vector<Entries> typed = cases;
  if (relative) typed[0][0] = "-" + typed[0][0];
  const std::vector<std::string> reports = dialogue_reports(session(typed));
  ASSERT_EQ(cases.size(), reports.size());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::vector<std::string> args = {"windsea"};
    args.insert(args.end(), cases[i].begin(), cases[i].end());
    if (relative) args.push_back("--relative");
    const Outcome r = run_cli(args);
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(reports[i], r.out)
        << cases[i][0] << " " << cases[i][1] << " " << cases[i][2] << " "
        << cases[i][3] << " " << cases[i][4];
  }
}

TEST(OneCase, TextIsTheDialoguesReport) {
  const std::vector<Entries> cases = {
      {"20", "10", "100", "10", "0"},       // the complete report
      {"20", "10", "100", "10", "-8"},      // blocked
      {"100", "24", "500", "50", "0"},      // above 65 kt
      {"120", "200", "5000", "5000", "3"},  // capped at 70 kt
      {"30", "24", "500", "1", "0"},        // grounding
      {"5", "10", "100", "10", "-10"},      // light wind, critical sea state
      {"0.5", "0", "6000", "-5", "2000"},   // every entry clamped
      {"20", "10", "100", "3", "-3.9"},     // breaking
      {"10", "10", "500", "1", "-1"},       // a height held between horizons
      {"45", "1", "1", "5000", "15"},
  };
  expect_same_reports(cases, false);
  expect_same_reports(cases, true);
}

TEST(OneCase, TextIsTheDialoguesReportForSeededCases) {
  std::mt19937 rng(20261209);
  auto pick = [&rng](double lo, double hi, int decimals) {
    const double v = std::uniform_real_distribution<double>(lo, hi)(rng);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return std::string(buf);
  };
  std::vector<Entries> cases;
  for (int i = 0; i < 150; ++i) {
    cases.push_back({pick(1, 90, 1), pick(1, 220, 1), pick(1, 5200, 0),
                     pick(1, 200, 1), pick(-16, 16, 2)});
  }
  expect_same_reports(cases, false);
  expect_same_reports(cases, true);
}

TEST(OneCase, SwellTextIsTheDialoguesResult) {
  const struct {
    const char* period;
    const char* height;
  } cases[] = {{"10", "3"}, {"10", "0.5"}, {"10", "12"},
               {"12", "2"}, {"6", "5"},    {"0.1", "1"}};
  for (const auto& c : cases) {
    shell::testing::Session s(std::string("2\n") + c.period + "\n" + c.height +
                              "\n\n0\n0\n");
    s.run([&] {
      dialogue::main_menu(s.console, dialogue::ocean, dialogue::swell);
    });
    const std::size_t from = s.out.text.find(" Period of the Swell =");
    // The result ends before its trailing empty records.
    std::size_t to = s.out.text.find("hit [ENTER] to continue", from);
    to = s.out.text.find_last_not_of('\n', to - 2) + 2;
    const Outcome r = run_cli({"swell", c.period, c.height});
    EXPECT_EQ(0, r.status);
    EXPECT_EQ(s.out.text.substr(from, to - from), r.out) << c.period;
  }
}

float as_float(const nlohmann::json& v) {
  return static_cast<float>(v.template get<double>());
}

TEST(OneCase, JsonCarriesTheKernelsBits) {
  const Entries cases[] = {{"20", "10", "100", "10", "0"},
                           {"30", "24", "500", "20", "-2.5"},
                           {"100", "3", "40", "8", "1"},
                           {"12.3", "7.7", "77", "5000", "4"}};
  for (const Entries& c : cases) {
    const Outcome r =
        run_cli({"windsea", c[0], c[1], c[2], c[3], c[4], "--format", "json"});
    ASSERT_EQ(0, r.status) << r.err;
    const auto j = nlohmann::json::parse(r.out);
    // The wind as the dialogue compresses it above 65 kt.
    float wind = std::strtof(c[0].c_str(), nullptr);
    if (wind > 65.0f) {
      wind = 65.0f + 10.0f * static_cast<float>(
                                 std::log(static_cast<double>(wind / 65.0f)));
    }
    const float dura = std::strtof(c[1].c_str(), nullptr);
    const float fetch = std::strtof(c[2].c_str(), nullptr);
    const float depth = std::strtof(c[3].c_str(), nullptr);
    const float curr = std::strtof(c[4].c_str(), nullptr);
    EXPECT_EQ(wind, as_float(j["wind_kt"]));
    EXPECT_EQ(physics::beaufort(wind), j["beaufort"].template get<int>());
    const physics::DeepWater sea = physics::deepw(wind, dura, fetch);
    EXPECT_EQ(sea.hs0, as_float(j["deep_water"]["height_m"]));
    EXPECT_EQ(sea.tper0, as_float(j["deep_water"]["period_s"]));
    EXPECT_EQ(sea.wlen0, as_float(j["deep_water"]["length_m"]));
    EXPECT_EQ(sea.hsinf, as_float(j["fully_developed_height_m"]));
    EXPECT_EQ(sea.hf < sea.ht ? "fetch" : "duration", j["limited_by"]);
    physics::Com2 com2{};
    struct : physics::SelfCheck {
      void group_velocity_mismatch(float, float) override {}
    } check;
    const physics::ShoalResult shoal =
        physics::curwav(9.81f, depth, curr, sea.tper0, sea.hs0, com2, check);
    EXPECT_EQ(shoal.hs2, as_float(j["wave"]["height_m"]));
    EXPECT_EQ(shoal.wlen2, as_float(j["wave"]["length_m"]));
    EXPECT_EQ(sea.tper0, as_float(j["wave"]["period_s"]));
    EXPECT_EQ(shoal.hs2 / shoal.wlen2, as_float(j["steepness"]));
    const char* status[] = {"ok", "breaking", "", "blocked"};
    EXPECT_EQ(status[shoal.ier], j["status"]);
  }
}

TEST(OneCase, JsonSaysWhatTheModelCannotGive) {
  Outcome r = run_cli(
      {"windsea", "20", "10", "100", "5000", "-15", "--format", "json"});
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ("blocked", j["status"]);
  EXPECT_TRUE(j["wave"]["height_m"].is_null());
  EXPECT_TRUE(j["wave"]["length_m"].is_null());
  EXPECT_TRUE(j["steepness"].is_null());
  EXPECT_TRUE(j["development"].is_null());
  EXPECT_EQ("capsizing", j["warnings"][0]["code"]);

  // Grounding: the text is UTF-8.
  r = run_cli({"windsea", "30", "24", "500", "1", "--format", "json"});
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ("???$#@%\xC3\xB5?&%##???  YOU JUST STRUCK FLOUNDER !",
            j["warnings"][0]["text"]);

  // Clamped entries are noted in the result, and on standard error as text.
  r = run_cli(
      {"windsea", "100", "500", "0", "9000", "2000", "--format", "json"});
  j = nlohmann::json::parse(r.out);
  std::vector<std::string> codes;
  for (const auto& n : j["notes"]) codes.push_back(n["code"]);
  EXPECT_EQ((std::vector<std::string>{"wind_compressed", "duration_lowered",
                                      "fetch_raised", "depth_lowered",
                                      "current_ignored"}),
            codes);
  EXPECT_EQ("", r.err);
  r = run_cli({"windsea", "100", "10", "100", "10"});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(0u, r.err.find("morvelstandrik: note: winds above 65 kt"));

  r = run_cli({"swell", "10", "12", "--format", "json"});
  j = nlohmann::json::parse(r.out);
  EXPECT_EQ("above", j["outcome"]);
  EXPECT_EQ(50, j["wind_kt"]);
  EXPECT_EQ(90, j["distance_shown_km"]);
  EXPECT_NEAR(90.22, j["distance_km"].template get<double>(), 0.005);
}

// Bad arguments beside those the command-line transcripts hold.
TEST(OneCase, BadArguments) {
  const struct {
    std::vector<std::string> args;
    int status;
    const char* first_err_line;
  } cases[] = {
      {{"windsea", "0", "10", "100", "10"},
       2,
       "morvelstandrik: windsea: WIND: '0' raises no sea; give a wind above "
       "0.01 kt"},
      {{"windsea", "20", "10", "100", "10", "--format", "csv"},
       2,
       "morvelstandrik: windsea: --format csv is for a batch; one case is "
       "text or json"},
      {{"swell", "10", "3m"},
       2,
       "morvelstandrik: swell: HEIGHT: '3m' is not a number"},
      {{"swell", "10", "3", "4"}, 2, nullptr},
      {{"tide", "3"}, 2, nullptr},
      {{"windsea", "20", "10", "100", "10", "--fromat", "json"}, 2, nullptr},
      {{"windsea", "--batch"}, 2, nullptr},
      // "--name=" is an empty entry: it once took the next argument, or
      // failed for want of one at the end.
      {{"windsea", "--wind=", "--duration=10", "--fetch=100", "--depth=10"},
       2,
       "morvelstandrik: windsea: --wind: '' is empty; give a number"},
      {{"windsea", "20", "10", "100", "10", "--current="},
       2,
       "morvelstandrik: windsea: --current: '' is empty; give a number"},
      {{"swell", "--height=", "--period=10"},
       2,
       "morvelstandrik: swell: --height: '' is empty; give a number"},
      {{"windsea", "20", "10", "100", "10", "--format=", "json"}, 2, nullptr},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args);
    EXPECT_EQ(c.status, r.status) << c.args[1];
    EXPECT_EQ("", r.out) << c.args[1];
    ASSERT_NE("", r.err) << c.args[1];
    if (c.first_err_line != nullptr) {
      EXPECT_EQ(c.first_err_line, r.err.substr(0, r.err.find('\n')));
    }
    EXPECT_NE(std::string::npos, r.err.find("--help")) << c.args[1];
  }
}

TEST(OneCase, HelpAndVersionOnStandardOutput) {
  for (const char* flag : {"--help", "-h"}) {
    const Outcome r = run_cli({flag});
    EXPECT_EQ(0, r.status);
    EXPECT_NE(std::string::npos, r.out.find("windsea"));
    EXPECT_NE(std::string::npos, r.out.find("swell"));
    EXPECT_EQ("", r.err);
  }
  Outcome r = run_cli({"windsea", "--help"});
  EXPECT_EQ(0, r.status);
  EXPECT_NE(std::string::npos, r.out.find("--batch"));
  r = run_cli({"--version"});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ(0u, r.out.find("morvelstandrik "));
}

}  // namespace
}  // namespace cli

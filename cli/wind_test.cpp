// The wind command and windsea --grib, run in the test's process on GRIB
// files written from ecCodes' samples into a temporary directory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/run_cli_test.hpp"
#include "morvelstandrik/grib/fixtures.hpp"
#include "morvelstandrik/grib/wind.hpp"

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

const std::int64_t kRun = grib::days_from_civil(2026, 12, 10) * 86400;

// A file in a directory of the test's own, removed at the end.
class Files : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("morvel_wind_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string write(const std::string& name, const std::string& bytes) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  std::filesystem::path dir_;
};

// Hourly records from 00 UTC of u and v (m/s), the same over the grid.
std::string hourly(int edition,
                   const std::vector<std::pair<double, double>>& uv,
                   std::int64_t run = kRun) {
  std::string out;
  for (std::size_t k = 0; k < uv.size(); ++k) {
    out += grib::fixtures::wind(edition, run, static_cast<int>(k), uv[k].first,
                                uv[k].second);
  }
  return out;
}

TEST_F(Files, SeriesAsTextCsvAndJson) {
  // 10 m/s from the west (u = 10), then from the north (v = -10), calm.
  const std::string f =
      write("a.grib2", hourly(2, {{10, 0}, {10, 0}, {0, -10}, {0, 0}}));
  const Outcome text =
      run_cli({"wind", f, "--at", "55,5", "--time", "2026-12-10T01:00Z"});
  ASSERT_EQ(text.status, 0) << text.err;
  // 10 m/s is 19.4384 kt.
  EXPECT_EQ(text.out,
            "time               wind_kt  wind_ms  from_deg\n"
            "2026-12-10T00:00Z     19.4     10.0       270\n"
            "2026-12-10T01:00Z     19.4     10.0       270\n"
            "2026-12-10T02:00Z     19.4     10.0         0\n"
            "2026-12-10T03:00Z      0.0      0.0      calm\n"
            "\n"
            "At 2026-12-10T01:00Z the wind has blown\n"
            "  steadily for    at least 1 h, since 2026-12-10T00:00Z\n"
            "  mean speed      19.4 kt (10.0 m/s)\n"
            "  mean direction  from 270 deg true\n"
            "  records         2026-12-10T00:00Z to 2026-12-10T01:00Z, "
            "within 15 deg and 5 kt of the mean, gaps up to 6 h\n");

  const Outcome json = run_cli({"wind", f, "--at", "55,5", "--format", "json",
                                "--time", "2026-12-10T02:00Z"});
  ASSERT_EQ(json.status, 0) << json.err;
  std::istringstream lines(json.out);
  std::vector<nlohmann::json> rows;
  for (std::string line; std::getline(lines, line);) {
    rows.push_back(nlohmann::json::parse(line));
  }
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0]["time"], "2026-12-10T00:00Z");
  EXPECT_NEAR(rows[0]["wind_kt"].get<double>(), 10 * 3600 / 1852.0, 1e-5);
  EXPECT_EQ(rows[0]["wind_ms"].get<double>(), 10);
  EXPECT_EQ(rows[0]["from_deg"].get<double>(), 270);
  EXPECT_EQ(rows[2]["from_deg"].get<double>(), 0);
  EXPECT_TRUE(rows[3]["from_deg"].is_null());
  // At 02 the wind turned: the window is the one record, from 01:30.
  const auto& w = rows[4]["window"];
  EXPECT_EQ(w["start"], "2026-12-10T01:30Z");
  EXPECT_EQ(w["duration_h"].get<double>(), 0.5);
  EXPECT_EQ(w["at_least"], false);
  EXPECT_EQ(w["from_deg"].get<double>(), 0);

  const Outcome csv = run_cli({"wind", f, "--at", "55,5", "--format", "csv",
                               "--time", "2026-12-10T01:00Z"});
  ASSERT_EQ(csv.status, 0) << csv.err;
  EXPECT_EQ(csv.out.substr(0, csv.out.find('\n', 40) + 1),
            "time,wind_kt,wind_ms,from_deg,in_window\n"
            // 19.43844492 kt is nearest the float 19.4384441...
            "2026-12-10T00:00Z,19.438444,10,270,1\n");
  EXPECT_NE(csv.err.find("at least 1 h"), std::string::npos) << csv.err;
}

// The options of the rules, through the command line: a veer of 30 degrees
// at 03 ends the window under the default 15 degrees, not under 40; a gap
// of 3 h ends it under --max-gap 2; the equivalent rule counts a rise as
// the sea it had raised.
TEST_F(Files, RuleOptions) {
  const double s = 20 * 1852.0 / 3600;  // 20 kt in m/s
  const double pi = 3.14159265358979323846;
  auto from = [&](double deg, double ms) {
    return std::pair<double, double>{-ms * std::sin(deg * pi / 180),
                                     -ms * std::cos(deg * pi / 180)};
  };
  const std::string veer =
      write("veer.grib1",
            hourly(1, {from(270, s), from(270, s), from(270, s), from(300, s),
                       from(300, s), from(300, s), from(300, s)}));
  struct Case {
    std::vector<std::string> extra;
    const char* start;
    double hours;
    bool at_least;
  };
  const Case cases[] = {
      {{}, "2026-12-10T02:30Z", 3.5, false},
      {{"--steady-direction", "40"}, "2026-12-10T00:00Z", 6, true},
      // At 06 the wind is from 300, the record before too: steady rule and
      // equivalent give the same new sea from 02:30.
      {{"--duration-method", "equivalent"}, "2026-12-10T02:30Z", 3.5, false},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"wind",     veer,     "--at",
                                     "55,5",     "--time", "2026-12-10T06:00Z",
                                     "--format", "json"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const Outcome r = run_cli(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto w =
        nlohmann::json::parse(r.out.substr(r.out.rfind("{\"window")))["window"];
    EXPECT_EQ(w["start"], c.start);
    EXPECT_NEAR(w["duration_h"].get<double>(), c.hours, 1e-6);
    EXPECT_EQ(w["at_least"], c.at_least);
  }
  // Records at 00, 01 and 04: under --max-gap 2 the window at 04 is the one
  // record after the gap, at least 0 h.
  std::string gap = grib::fixtures::wind(2, kRun, 0, 10, 0) +
                    grib::fixtures::wind(2, kRun, 1, 10, 0) +
                    grib::fixtures::wind(2, kRun, 4, 10, 0);
  const std::string g = write("gap.grib2", gap);
  const Outcome a = run_cli({"wind", g, "--at", "55,5", "--time",
                             "2026-12-10T04:00Z", "--format", "json"});
  const Outcome b =
      run_cli({"wind", g, "--at", "55,5", "--time", "2026-12-10T04:00Z",
               "--format", "json", "--max-gap", "2"});
  auto window = [](const std::string& out) {
    return nlohmann::json::parse(out.substr(out.rfind("{\"window")))["window"];
  };
  EXPECT_EQ(window(a.out)["duration_h"].get<double>(), 4);
  EXPECT_EQ(window(b.out)["duration_h"].get<double>(), 0);
  EXPECT_EQ(window(b.out)["at_least"], true);
  EXPECT_EQ(window(b.out)["first_record"], "2026-12-10T04:00Z");
}

TEST_F(Files, DefaultTimeByTheClock) {
  // Records of 2001, all before the clock: the last is taken. Records of
  // 2999, all after it: the first.
  const std::int64_t past = grib::days_from_civil(2001, 3, 4) * 86400;
  const std::int64_t future = grib::days_from_civil(2999, 3, 4) * 86400;
  const std::string old = write("a.grib1", hourly(1, {{10, 0}, {10, 0}}, past));
  const std::string later =
      write("b.grib1", hourly(1, {{10, 0}, {10, 0}}, future));
  const Outcome a = run_cli({"wind", old, "--at", "55,5"});
  ASSERT_EQ(a.status, 0) << a.err;
  EXPECT_NE(a.out.find("At 2001-03-04T01:00Z"), std::string::npos) << a.out;
  const Outcome b = run_cli({"wind", later, "--at", "55,5"});
  ASSERT_EQ(b.status, 0) << b.err;
  EXPECT_NE(b.out.find("At 2999-03-04T00:00Z"), std::string::npos) << b.out;
}

TEST_F(Files, Refusals) {
  const std::string good = write("good.grib2", hourly(2, {{10, 0}}));
  const std::string text = write("notes.txt", "not a forecast\n");
  grib::fixtures::Message u;
  u.run = kRun;
  const std::string lone = write("lone.grib2", grib::fixtures::message(u));
  struct Case {
    std::vector<std::string> args;
    std::string err;  // the first line of standard error
  };
  const Case cases[] = {
      {{"wind", text, "--at", "55,5"},
       "morvelstandrik: wind: " + text + ": is not a GRIB file"},
      {{"wind", lone, "--at", "55,5"},
       "morvelstandrik: wind: " + lone +
           ": message 1: u without its v at 2026-12-10T00:00Z"},
      {{"wind", good, "--at", "20,5"},
       "morvelstandrik: wind: " + good +
           ": message 1: the position 20,5 is outside its grid (latitudes "
           "60 to 50)"},
      {{"wind", good, "--at", "55,5", "--time", "2026-12-11T00:00Z"},
       "morvelstandrik: wind: the time 2026-12-11T00:00Z is outside the "
       "files, which run from 2026-12-10T00:00Z to 2026-12-10T00:00Z"},
      {{"wind", good, "--at", "95,5"}, "morvelstandrik: wind: --at: "},
      {{"wind", good, "--at", "55,5", "--time", "tomorrow"},
       "morvelstandrik: wind: --time: 'tomorrow' is not a time"},
      {{"wind", good}, "morvelstandrik: wind: --at is missing"},
      {{"wind", good + ".missing", "--at", "55,5"},
       "morvelstandrik: wind: cannot read " + good + ".missing"},
      {{"windsea", "--grib", good, "--at", "52,6", "--depth", "10",
        "--resolution", "c"},
       "morvelstandrik: windsea: position 52, 6 is on land in GSHHG crude; "
       "give --fetch KM"},
      {{"windsea", "--grib", good, "--at", "55,5", "--fetch", "100"},
       "morvelstandrik: windsea: --depth is missing"},
      {{"windsea", "--grib", good, "--at", "55,5", "--wind", "20", "--depth",
        "10"},
       "morvelstandrik: windsea: with --grib the wind and duration come "
       "from the files"},
  };
  for (const Case& c : cases) {
    const Outcome r = run_cli(c.args);
    EXPECT_EQ(r.status, 2) << c.args[1];
    EXPECT_EQ(r.out, "") << c.args[1];
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << r.err;
  }
}

// The sea from the files is the sea of windsea given the same wind,
// duration and fetch as numbers: the same bytes.
TEST_F(Files, WindseaFromGribIsWindseaByHand) {
  // 12.3 m/s from the south-west for 7 hours, then the time asked for.
  std::vector<std::pair<double, double>> uv(8, {8.7, 8.7});
  const std::string f = write("a.grib2", hourly(2, uv));
  for (const char* method : {"steady", "equivalent"}) {
    const Outcome json =
        run_cli({"windsea", "--grib", f, "--at", "55.5,5.5", "--time",
                 "2026-12-10T07:00Z", "--fetch", "150", "--depth", "20",
                 "--duration-method", method, "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto j = nlohmann::json::parse(json.out);
    // The wind's speed in knots as the float the engine sees, and 7 h.
    const float kt = static_cast<float>(std::hypot(8.7f, 8.7f) * 3600 / 1852);
    EXPECT_EQ(j["wind_kt"].get<float>(), kt);
    EXPECT_EQ(j["duration_h"].get<double>(), 7);
    EXPECT_EQ(j["at_least"], true);
    EXPECT_EQ(j["window_start"], "2026-12-10T00:00Z");
    EXPECT_NEAR(j["from_deg"].get<double>(), 225, 1e-4);
    EXPECT_EQ(j["source"]["fetch"], "--fetch");

    std::ostringstream wind;
    wind << j["wind_kt"];
    const Outcome by_hand =
        run_cli({"windsea", "--wind", wind.str(), "--duration", "7", "--fetch",
                 "150", "--depth", "20", "--format", "json"});
    auto plain = nlohmann::json::parse(by_hand.out);
    auto grib = j;
    EXPECT_EQ(j["window_duration_h"].get<double>(), 7);
    for (const char* m : {"source", "window_start", "window_duration_h",
                          "at_least", "from_deg"}) {
      grib.erase(m);
    }
    EXPECT_EQ(grib, plain);

    // The text: the lines of where the entries came from, then the report
    // byte for byte.
    const Outcome text =
        run_cli({"windsea", "--grib", f, "--at", "55.5,5.5", "--time",
                 "2026-12-10T07:00Z", "--fetch", "150", "--depth", "20",
                 "--duration-method", method});
    const Outcome report = run_cli({"windsea", wind.str(), "7", "150", "20"});
    ASSERT_EQ(text.status, 0) << text.err;
    ASSERT_GE(text.out.size(), report.out.size());
    EXPECT_EQ(text.out.substr(text.out.size() - report.out.size()), report.out);
    EXPECT_EQ(
        text.out.substr(0, text.out.find('\n') + 1),
        "Wind from " + f + " at 55.5,5.5 (bilinear), 2026-12-10T07:00Z:\n");
  }
}

// Without --fetch the fetch comes from the coastline along the window's
// direction: the one the fetch command gives for that wind, and the sea
// is the sea of windsea given that fetch, to the bit.
TEST_F(Files, WindseaFromGribTakesTheFetchFromTheCoastline) {
  std::vector<std::pair<double, double>> uv(4, {8.7, 8.7});  // from SW
  const std::string f = write("a.grib2", hourly(2, uv));
  const Outcome json = run_cli({"windsea", "--grib", f, "--at", "55.5,5.5",
                                "--time", "2026-12-10T03:00Z", "--depth", "20",
                                "--resolution", "l", "--format", "json"});
  ASSERT_EQ(json.status, 0) << json.err;
  const auto j = nlohmann::json::parse(json.out);
  EXPECT_EQ(j["source"]["fetch"], "coastline");
  EXPECT_EQ(j["source"]["coast"], "GSHHG");
  EXPECT_EQ(j["source"]["resolution"], "low");
  EXPECT_EQ(j["source"]["fetch_method"], "spm");

  std::ostringstream from;
  from << j["from_deg"];
  const Outcome fetch = run_cli({"fetch", "55.5", "5.5", from.str(),
                                 "--resolution", "l", "--format", "json"});
  ASSERT_EQ(fetch.status, 0) << fetch.err;
  const double km = nlohmann::json::parse(fetch.out)["fetch_km"];
  EXPECT_GT(km, 50);  // the open North Sea to the south-west
  EXPECT_EQ(j["fetch_km"].get<float>(), static_cast<float>(km));

  std::ostringstream wind, fetch_km;
  wind << j["wind_kt"];
  fetch_km << j["fetch_km"];
  const Outcome by_hand =
      run_cli({"windsea", "--wind", wind.str(), "--duration", "3", "--fetch",
               fetch_km.str(), "--depth", "20", "--format", "json"});
  ASSERT_EQ(by_hand.status, 0) << by_hand.err;
  auto grib = j;
  for (const char* m : {"source", "window_start", "window_duration_h",
                        "at_least", "from_deg"}) {
    grib.erase(m);
  }
  EXPECT_EQ(grib, nlohmann::json::parse(by_hand.out));
}

TEST_F(Files, BatchOfSites) {
  const std::string f =
      write("a.grib2", hourly(2, {{10, 0}, {10, 0}, {10, 0}}));
  const std::string sites = write("sites.csv",
                                  "name,lat,lon,time,depth_m,fetch_km\n"
                                  "A,55,5,2026-12-10T02:00Z,10,100\n"
                                  "B,20,5,2026-12-10T02:00Z,10,100\n"
                                  "C,55,5,2026-12-10T05:00Z,10,100\n"
                                  "D,55,5,2026-12-10T01:00Z,10,\n"
                                  "E,55,5,2026-12-10T01:00Z,0x,50\n");
  const Outcome r =
      run_cli({"windsea", "--batch", sites, "--grib", f, "--format", "json"});
  EXPECT_EQ(r.status, 1) << r.err;
  std::istringstream lines(r.out);
  std::vector<nlohmann::json> rows;
  for (std::string line; std::getline(lines, line);) {
    rows.push_back(nlohmann::json::parse(line));
  }
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_TRUE(rows[0]["error"].is_null());
  EXPECT_EQ(rows[0]["duration_h"].get<double>(), 2);
  EXPECT_EQ(rows[0]["input"]["name"], "A");
  EXPECT_NE(rows[1]["error"].get<std::string>().find("outside its grid"),
            std::string::npos);
  EXPECT_NE(rows[2]["error"].get<std::string>().find("outside the files"),
            std::string::npos);
  // Without fetch_km the fetch comes from the coastline upwind: the west
  // wind's fetch at 55N 5E, as the fetch command finds it.
  EXPECT_TRUE(rows[3]["error"].is_null()) << rows[3]["error"];
  EXPECT_EQ(rows[3]["source"]["fetch"], "coastline");
  const Outcome fetch =
      run_cli({"fetch", "55", "5", "270", "--format", "json"});
  ASSERT_EQ(fetch.status, 0) << fetch.err;
  EXPECT_EQ(rows[3]["fetch_km"].get<float>(),
            static_cast<float>(
                nlohmann::json::parse(fetch.out)["fetch_km"].get<double>()));
  EXPECT_NE(rows[4]["error"].get<std::string>().find("depth_m"),
            std::string::npos);
  // The good row is the one case's result.
  const Outcome one = run_cli({"windsea", "--grib", f, "--at", "55,5", "--time",
                               "2026-12-10T02:00Z", "--fetch", "100", "--depth",
                               "10", "--format", "json"});
  auto a = nlohmann::json::parse(one.out);
  auto b = rows[0];
  b.erase("line");
  b.erase("input");
  b.erase("error");
  EXPECT_EQ(b["source"]["fetch"], "fetch_km");
  b["source"]["fetch"] = "--fetch";
  EXPECT_EQ(a, b);

  const Outcome csv = run_cli({"windsea", "--batch", sites, "--grib", f});
  EXPECT_EQ(csv.status, 1);
  const std::string head =
      "name,lat,lon,time,depth_m,fetch_km,grib_time,window_start,at_least,"
      "from_deg,wind_kt,";
  EXPECT_EQ(csv.out.substr(0, head.size()), head);
  // A file separated by semicolons has decimal commas.
  const std::string semi =
      write("semi.csv",
            "lat;lon;time;depth_m;fetch_km\n55;5;2026-12-10T02:00Z;12,5;100\n");
  const Outcome s =
      run_cli({"windsea", "--batch", semi, "--grib", f, "--format", "json"});
  ASSERT_EQ(s.status, 0) << s.err;
  const auto j = nlohmann::json::parse(s.out);
  EXPECT_EQ(j["depth_m"].get<double>(), 12.5);
  EXPECT_EQ(j["duration_h"].get<double>(), 2);
  EXPECT_EQ(j["wind_kt"], a["wind_kt"]);
  // One row per site after the header.
  EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 6);
}

}  // namespace
}  // namespace cli

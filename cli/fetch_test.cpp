// The fetch command, the fetch from a coastline in place of windsea's
// FETCH, and batches with positions, on coastlines the tests write.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/coastline.hpp"
#include "morvelstandrik/cli/run_cli_test.hpp"
#include "morvelstandrik/cli/shortest.hpp"

#ifdef MORVEL_HAS_COAST
#include <unistd.h>
#include <GeographicLib/AzimuthalEquidistant.hpp>
#include <GeographicLib/Geodesic.hpp>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <numbers>
#endif

namespace cli {
namespace {

using testing::Outcome;
using testing::run_cli;

#ifndef MORVEL_HAS_COAST

TEST(Fetch, ThisBuildHasNoCoastlines) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"fetch", "54.5", "10.25", "W"},
        std::vector<std::string>{"windsea", "20", "10", "10", "--at",
                                 "54.5,10.25", "--from", "W"}}) {
    const Outcome r = run_cli(args);
    EXPECT_EQ(2, r.status);
    EXPECT_NE(std::string::npos, r.err.find("no coastline support")) << r.err;
  }
}

#else

using nlohmann::json;
namespace fs = std::filesystem;
constexpr double kDeg = std::numbers::pi / 180;

// The lake's centre; the land is a square 200 km across with a lake 40 km
// east-west and 20 km north-south in its middle, drawn in the azimuthal
// equidistant projection centred on the lake, so that the fetches from the
// centre are plane trigonometry.
constexpr double kLat = 54.5, kLon = 10.25;

class FetchCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = fs::temp_directory_path() /
           ("fetch_cli_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    const GeographicLib::AzimuthalEquidistant p(
        GeographicLib::Geodesic::WGS84());
    const auto ring = [&](double hx, double hy) {
      std::string text = "[";
      const double corners[5][2] = {
          {-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}, {-hx, -hy}};
      for (int c = 0; c < 4; ++c) {
        for (int k = 0; k < 100; ++k) {
          const double f = k / 100.0;
          const double x =
              corners[c][0] + f * (corners[c + 1][0] - corners[c][0]);
          const double y =
              corners[c][1] + f * (corners[c + 1][1] - corners[c][1]);
          double lat = 0, lon = 0;
          p.Reverse(kLat, kLon, x * 1000, y * 1000, lat, lon);
          char pos[80];
          std::snprintf(pos, sizeof pos, "[%.17g,%.17g],", lon, lat);
          text += pos;
        }
      }
      double lat = 0, lon = 0;
      p.Reverse(kLat, kLon, -hx * 1000, -hy * 1000, lat, lon);
      char pos[80];
      std::snprintf(pos, sizeof pos, "[%.17g,%.17g]]", lon, lat);
      return text + pos;
    };
    lake_ = write("lake.geojson",
                  R"({"type":"FeatureCollection","features":[{"type":)"
                  R"("Feature","properties":{},"geometry":{"type":"Polygon",)"
                  R"("coordinates":[)" +
                      ring(100, 100) + "," + ring(20, 10) + "]}}]}");
    line_ = write("line.geojson",
                  R"({"type":"Feature","geometry":{"type":"LineString",)"
                  R"("coordinates":[[0,0],[1,1]]}})");
    junk_ = write("junk.geojson", "this is no JSON");
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  static std::string write(const std::string& name, const std::string& text) {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }

  static inline fs::path dir_;
  static inline std::string lake_, line_, junk_;
};

// From the lake's centre the radial alpha off north ends on the north
// shore 10 km off, or on the east or west shore 20 km off.
double north(double a) {
  return std::min(10 / std::cos(a * kDeg), 20 / std::abs(std::sin(a * kDeg)));
}

TEST_F(FetchCli, JsonForEachMethod) {
  double spm = 0, saville = 0, weights = 0;
  for (int k = -4; k <= 4; ++k) spm += north(3 * k) / 9;
  for (int k = -7; k <= 7; ++k) {
    saville += north(6 * k) * std::cos(6 * k * kDeg);
    weights += std::cos(6 * k * kDeg);
  }
  saville /= weights;
  const struct {
    const char* method;
    double fetch;
    std::size_t radials;
  } cases[] = {{"line", 10, 1}, {"spm", spm, 9}, {"saville", saville, 15}};
  for (const auto& c : cases) {
    const Outcome r = run_cli({"fetch", "54.5", "10.25", "N", "--coast", lake_,
                               "--method", c.method, "--format", "json"});
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("", r.err);
    ASSERT_EQ('\n', r.out.back());
    const json j = json::parse(r.out);
    EXPECT_NEAR(c.fetch, j["fetch_km"].get<double>(), 1e-4) << c.method;
    EXPECT_EQ(c.method, j["method"]);
    EXPECT_EQ(false, j["open"]);
    EXPECT_EQ(lake_, j["source"]);
    EXPECT_EQ("", j["resolution"]);
    EXPECT_EQ(0, j["wind_from_deg"]);
    ASSERT_EQ(c.radials, j["radials"].size());
    const json& first = j["radials"][0];
    const double spread = (c.radials / 2) * (c.radials == 9 ? 3.0 : 6.0);
    EXPECT_NEAR(c.radials == 1 ? 0 : 360 - spread,
                first["azimuth_deg"].get<double>(), 1e-9);
    EXPECT_NEAR(north(c.radials == 1 ? 0 : -spread),
                first["distance_km"].get<double>(), 1e-4);
    EXPECT_EQ(false, first["open"]);
    EXPECT_TRUE(first["lat"].is_number() && first["lon"].is_number());
  }
}

TEST_F(FetchCli, TextAndGeoJson) {
  const Outcome text = run_cli(
      {"fetch", "54d30N", "10d15E", "N", "--coast", lake_, "--method", "line"});
  ASSERT_EQ(0, text.status) << text.err;
  EXPECT_EQ(0u, text.out.find("Fetch: 10.0 km (line: the one radial along "
                              "the wind)\n"))
      << text.out;
  EXPECT_NE(std::string::npos, text.out.find("Coastline: " + lake_ + "\n"));
  EXPECT_NE(std::string::npos, text.out.find("  Azimuth   Distance  Water\n"
                                             "      0.0    10.00 km  shore\n"))
      << text.out;

  const Outcome open = run_cli(
      {"fetch", "54.5", "10.25", "E", "--coast", lake_, "--max-fetch", "5"});
  ASSERT_EQ(0, open.status) << open.err;
  EXPECT_EQ(0u, open.out.find("Fetch: at least 5.0 km (spm:")) << open.out;

  const Outcome geo = run_cli({"fetch", "54.5", "10.25", "270", "--coast",
                               lake_, "--format", "geojson"});
  ASSERT_EQ(0, geo.status) << geo.err;
  const json g = json::parse(geo.out);
  EXPECT_EQ("FeatureCollection", g["type"]);
  ASSERT_EQ(10u, g["features"].size());
  const json& point = g["features"][0];
  EXPECT_EQ("Point", point["geometry"]["type"]);
  EXPECT_EQ(10.25, point["geometry"]["coordinates"][0]);
  EXPECT_EQ(54.5, point["geometry"]["coordinates"][1]);
  EXPECT_EQ("spm", point["properties"]["method"]);
  EXPECT_EQ(270, point["properties"]["wind_from_deg"]);
  for (std::size_t i = 1; i < 10; ++i) {
    const json& f = g["features"][i];
    EXPECT_EQ("LineString", f["geometry"]["type"]);
    ASSERT_EQ(2u, f["geometry"]["coordinates"].size());
    EXPECT_EQ(f["properties"]["lon"], f["geometry"]["coordinates"][1][0]);
    EXPECT_EQ(f["properties"]["lat"], f["geometry"]["coordinates"][1][1]);
    // West: the radials end on the west shore, 20 km sec(alpha).
    const double alpha = (static_cast<double>(i) - 5) * 3;
    EXPECT_NEAR(20 / std::cos(alpha * kDeg),
                f["properties"]["distance_km"].get<double>(), 1e-4);
  }
}

TEST_F(FetchCli, RefusalsSayWhatIsWrong) {
  const struct {
    std::vector<std::string> args;
    std::string said;
  } cases[] = {
      {{"fetch", "95", "10", "W", "--coast", lake_},
       "morvelstandrik: fetch: position \"95, 10\" is not valid: Latitude "
       "95d not in [-90d, 90d]\n"},
      {{"fetch", "54.5", "10.25", "400", "--coast", lake_},
       "morvelstandrik: fetch: wind direction 400 is outside 0 to 360 "
       "degrees\n"},
      {{"fetch", "54.5", "10.25", "NNNE", "--coast", lake_},
       "morvelstandrik: fetch: wind direction \"NNNE\" is neither degrees (0 "
       "to 360) nor a compass point (N, NNE, NE, ..., NNW)\n"},
      {{"fetch", "54.2", "10.25", "W", "--coast", lake_},
       "morvelstandrik: fetch: position 54.2, 10.25 is on land in " + lake_ +
           "\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", lake_ + ".none"},
       "morvelstandrik: fetch: " + lake_ +
           ".none: cannot be read: No such file or directory\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", junk_},
       "morvelstandrik: fetch: " + junk_ + ": not JSON\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", line_},
       "morvelstandrik: fetch: " + line_ +
           ": the file is a LineString; land must be Polygon or "
           "MultiPolygon\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", lake_, "--method", "cem"},
       "morvelstandrik: fetch: --method: 'cem' is not a method; use spm, "
       "saville or line\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", lake_, "--max-fetch", "0"},
       "morvelstandrik: fetch: --max-fetch: '0' is not a distance above 0 "
       "and at most 5000 km\n"},
      {{"fetch", "54.5", "10.25", "W", "--resolution", "x"},
       "morvelstandrik: fetch: --resolution: 'x' is not a resolution; use "
       "auto, f, h, i, l or c\n"},
      {{"fetch", "54.5", "10.25", "W", "--coast", lake_, "--resolution", "f"},
       "morvelstandrik: fetch: --resolution chooses among the GSHHG "
       "coastlines; a --coast file has its own\n"},
      {{"windsea", "20", "10", "10", "--at", "54.5,10.25"},
       "morvelstandrik: windsea: --at needs --from, the wind's direction\n"},
      {{"windsea", "20", "10", "100", "10", "--at", "54.5,10.25", "--from",
        "W"},
       "morvelstandrik: windsea: with --at, give CURRENT by name "
       "(--current): the numbers are read as WIND DURATION DEPTH CURRENT\n"},
      {{"windsea", "20", "10", "10", "--fetch", "100", "--at", "54.5,10.25",
        "--from", "W"},
       "morvelstandrik: windsea: the fetch is given twice: as --fetch and "
       "from the coastline at --at; give one of them\n"},
      {{"windsea", "20", "10", "100", "10", "--coast", lake_},
       "morvelstandrik: windsea: --coast, --method, --max-fetch and "
       "--resolution go with --at and --from, or with a batch with the "
       "columns lat, lon and wind_from_deg\n"},
      {{"windsea", "20", "10", "10", "--at", "54.5", "--from", "W", "--coast",
        lake_},
       "morvelstandrik: windsea: --at: '54.5' is not a position; give "
       "LAT,LON\n"},
      {{"windsea", "20", "10", "10", "--at", "54.2,10.25", "--from", "W",
        "--coast", lake_},
       "morvelstandrik: windsea: --at: position 54.2, 10.25 is on land in " +
           lake_ + "\n"},
  };
  for (const auto& c : cases) {
    const Outcome r = run_cli(c.args);
    EXPECT_EQ(2, r.status) << c.said;
    EXPECT_EQ("", r.out) << c.said;
    EXPECT_EQ(0u, r.err.find(c.said)) << r.err;
    EXPECT_NE(std::string::npos, r.err.find("Try 'morvelstandrik ")) << r.err;
  }
  // A position or direction is checked before any coastline is loaded.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"fetch", "54.5", "10.25", "WSWW"},
        std::vector<std::string>{"windsea", "20", "10", "10", "--at", "91,10",
                                 "--from", "W"}}) {
    const Outcome r = run_cli(args);
    EXPECT_EQ(2, r.status);
    EXPECT_EQ(std::string::npos, r.err.find("GSHHG")) << r.err;
  }
  // Paris, and the middle of Australia, are land in the GSHHG coastline at
  // any resolution: refused, naming the data.
  for (const char* res : {"c", "l", "i"}) {
    for (const auto& [lat, lon] :
         {std::pair{"48.86", "2.35"}, std::pair{"25S", "134E"}}) {
      const Outcome land =
          run_cli({"fetch", lat, lon, "W", "--resolution", res});
      EXPECT_EQ(2, land.status) << lat << " " << lon << " " << res;
      EXPECT_EQ("", land.out);
      EXPECT_NE(std::string::npos, land.err.find("is on land in GSHHG "))
          << land.err;
    }
  }
}

// The case with --at and --from is the case given the fetch it reports, to
// the bit: the fetch is the float the engine reads.
TEST_F(FetchCli, WindseaAtGivesTheBitsOfItsFetch) {
  for (const char* from : {"N", "WNW", "100", "222.5"}) {
    for (const char* method : {"spm", "saville", "line"}) {
      const Outcome at = run_cli(
          {"windsea", "25", "8", "12", "--at", "54.5,10.25", "--from", from,
           "--coast", lake_, "--method", method, "--format", "json"});
      ASSERT_EQ(0, at.status) << at.err;
      json j = json::parse(at.out);
      const json origin = j["fetch_from"];
      EXPECT_EQ(method, origin["method"]);
      EXPECT_EQ(lake_, origin["source"]);
      EXPECT_EQ("", origin["resolution"]);
      const Outcome f =
          run_cli({"fetch", "54.5", "10.25", from, "--coast", lake_, "--method",
                   method, "--format", "json"});
      const double km = json::parse(f.out)["fetch_km"].get<double>();
      EXPECT_EQ(static_cast<float>(km), origin["fetch_km"].get<float>());

      const std::string given = shortest(origin["fetch_km"].get<float>());
      const Outcome plain =
          run_cli({"windsea", "25", "8", given, "12", "--format", "json"});
      ASSERT_EQ(0, plain.status) << plain.err;
      // The same bytes, but for the member that says where the fetch came
      // from.
      const std::size_t cut = at.out.find(",\"fetch_from\":");
      ASSERT_NE(std::string::npos, cut);
      const std::size_t end = at.out.find('}', cut) + 1;
      EXPECT_EQ(plain.out, at.out.substr(0, cut) + at.out.substr(end))
          << from << " " << method;

      // The text report is the same report, after one line on the fetch.
      const Outcome text =
          run_cli({"windsea", "--wind", "25", "--duration", "8", "--depth",
                   "12", "--at", "54.5,10.25", "--from", from, "--coast", lake_,
                   "--method", method});
      const Outcome plain_text = run_cli({"windsea", "25", "8", given, "12"});
      ASSERT_EQ(0, text.status) << text.err;
      const std::size_t nl = text.out.find('\n');
      EXPECT_EQ(0u, text.out.find(std::string("Fetch ") + given + " km by " +
                                  method + " from " + lake_ + " at "))
          << text.out.substr(0, nl);
      EXPECT_EQ(plain_text.out, text.out.substr(nl + 1));
      EXPECT_EQ(plain_text.err, text.err);
    }
  }
}

TEST_F(FetchCli, BatchWithPositions) {
  const std::string input =
      "id,Lat,lon,wind_from_deg,wind_kt,duration_h,depth_m\n"
      "a,54.5,10.25,N,20,10,10\n"
      "b,54.2,10.25,N,20,10,10\n"
      "c,95,10.25,N,20,10,10\n"
      "d,54d30N,10d15E,270,30,5,8\n";
  const Outcome r = run_cli({"windsea", "--batch", "-", "--coast", lake_,
                             "--method", "line", "--jobs", "1"},
                            input);
  EXPECT_EQ(1, r.status) << r.err;
  EXPECT_EQ(
      "morvelstandrik: windsea: standard input:3: position 54.2, 10.25 is on "
      "land in " +
          lake_ +
          "\n"
          "morvelstandrik: windsea: standard input:4: position \"95, "
          "10.25\" is not valid: Latitude 95d not in [-90d, 90d]\n",
      r.err);
  std::vector<std::string> rows;
  for (std::size_t at = 0, nl; (nl = r.out.find('\n', at)) != r.out.npos;
       at = nl + 1) {
    rows.push_back(r.out.substr(at, nl - at));
  }
  ASSERT_EQ(5u, rows.size());
  EXPECT_EQ(0u, rows[0].find("id,Lat,lon,wind_from_deg,fetch_from.fetch_km,"
                             "fetch_from.open,fetch_from.method,"
                             "fetch_from.source,fetch_from.resolution,"))
      << rows[0];
  // The good rows are the rows of a batch given their fetch.
  const Outcome given = run_cli(
      {"windsea", "--batch", "-"},
      "id,wind_kt,duration_h,fetch_km,depth_m\na,20,10,10,10\nd,30,5,20,8\n");
  ASSERT_EQ(0, given.status) << given.err;
  const std::size_t header_end = given.out.find('\n');
  const std::size_t row_a_end = given.out.find('\n', header_end + 1);
  const std::string row_a =
      given.out.substr(header_end + 1, row_a_end - header_end - 1);
  const std::string row_d =
      given.out.substr(row_a_end + 1, given.out.size() - row_a_end - 2);
  const std::string coast_cells = "," + lake_ + ",,";
  EXPECT_EQ("a,54.5,10.25,N,10,false,line" + coast_cells + row_a.substr(2),
            rows[1]);
  EXPECT_EQ("d,54d30N,10d15E,270,20,false,line" + coast_cells + row_d.substr(2),
            rows[4]);
  EXPECT_NE(std::string::npos, rows[2].find("is on land in"));
  EXPECT_EQ(0u, rows[3].find("c,95,10.25,N,,,,,,"));

  // Any number of jobs writes the same.
  const Outcome jobs = run_cli({"windsea", "--batch", "-", "--coast", lake_,
                                "--method", "line", "--jobs", "3"},
                               input);
  EXPECT_EQ(r.out, jobs.out);
  EXPECT_EQ(r.err, jobs.err);

  // JSON Lines carry the fetch's origin.
  const Outcome lines = run_cli({"windsea", "--batch", "-", "--coast", lake_,
                                 "--method", "line", "--format", "json"},
                                input);
  const json first = json::parse(lines.out.substr(0, lines.out.find('\n')));
  EXPECT_EQ(10, first["fetch_from"]["fetch_km"]);
  EXPECT_EQ("line", first["fetch_from"]["method"]);
  EXPECT_TRUE(first["error"].is_null());
}

// A spreadsheet's semicolon file: positions with decimal commas, and the
// fetch written with one.
TEST_F(FetchCli, BatchWithDecimalCommas) {
  const Outcome f = run_cli({"fetch", "54.5", "10.25", "NE", "--coast", lake_,
                             "--method", "line", "--format", "json"});
  const std::string fetch = shortest(
      static_cast<float>(json::parse(f.out)["fetch_km"].get<double>()));
  ASSERT_NE(std::string::npos, fetch.find('.'));  // 10 sqrt 2
  std::string comma = fetch;
  comma[comma.find('.')] = ',';
  const Outcome r =
      run_cli({"windsea", "--batch", "-", "--coast", lake_, "--method", "line"},
              "lat;lon;wind_from_deg;wind_kt;duration_h;depth_m\n"
              "54,5;10,25;NE;20;10;10\n");
  ASSERT_EQ(0, r.status) << r.err;
  const std::string row = r.out.substr(r.out.find('\n') + 1);
  // Written with commas between the cells: decimal points, and the
  // carried cells with commas quoted.
  EXPECT_EQ(0u, row.find("\"54,5\",\"10,25\",NE," + fetch + ",false,line,"))
      << row;
  const Outcome semicolons =
      run_cli({"windsea", "--batch", "-", "--coast", lake_, "--method", "line",
               "--delimiter", ";"},
              "lat;lon;wind_from_deg;wind_kt;duration_h;depth_m\n"
              "54,5;10,25;NE;20;10;10\n");
  ASSERT_EQ(0, semicolons.status) << semicolons.err;
  const std::string row2 = semicolons.out.substr(semicolons.out.find('\n') + 1);
  EXPECT_EQ(0u, row2.find("54,5;10,25;NE;" + comma + ";false;line;")) << row2;
}

TEST_F(FetchCli, BatchHeaderRefusals) {
  const struct {
    std::string input;
    std::vector<std::string> options;
    std::string said;
  } cases[] = {
      {"lat,lon,wind_kt,duration_h,depth_m\n54.5,10.25,20,10,10\n",
       {"--coast", lake_},
       "morvelstandrik: windsea: standard input: the header has lat, lon but "
       "no wind_from_deg: a fetch from the coastline needs lat, lon and "
       "wind_from_deg (or give fetch_km)\n"},
      {"wind_kt,duration_h,fetch_km,depth_m\n20,10,100,10\n",
       {"--coast", lake_},
       "morvelstandrik: windsea: standard input: --coast, --method, "
       "--max-fetch and --resolution are for a batch with the columns lat, "
       "lon and wind_from_deg in place of fetch_km\n"},
      {"lat,lon,wind_from_deg,wind_kt,duration_h,depth_m\n54.5,10.25,N,20,"
       "10,10\n",
       {"--coast", junk_},
       "morvelstandrik: windsea: "},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"windsea", "--batch", "-"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome r = run_cli(args, c.input);
    EXPECT_EQ(2, r.status) << c.said;
    EXPECT_EQ(0u, r.err.find(c.said)) << r.err;
  }
  // A file with fetch_km and a lat column as before: lat is carried.
  const Outcome carried =
      run_cli({"windsea", "--batch", "-"},
              "lat,wind_kt,duration_h,fetch_km,depth_m\n54,20,10,100,10\n");
  EXPECT_EQ(0, carried.status) << carried.err;
  EXPECT_EQ(0u, carried.out.find("lat,wind_kt,")) << carried.out;
}

// A fetch from the GSHHG tiles near one position is the fetch from the
// whole coastline, to the bit: near the antimeridian, near the poles, at
// high latitudes where the tiles' longitudes widen, and with a long cap.
TEST(FetchNear, RegionGivesTheWholeCoastlinesFetch) {
  const struct {
    const char *lat, *lon, *from, *max;
  } cases[] = {
      {"54.5", "10.25", "NE", "500"}, {"-41.3", "174.6", "NW", "500"},
      {"65.6", "-168.6", "N", "500"}, {"65.6", "-168.6", "S", "3000"},
      {"-77.3", "166.0", "S", "500"}, {"78.2", "15.0", "W", "500"},
      {"0", "-30", "E", "5000"},      {"70.5", "-179.9", "E", "500"},
      {"70.5", "179.9", "W", "500"},  {"-60", "-60", "SW", "1000"},
      {"85", "0", "N", "500"},        {"48.86", "2.35", "W", "500"},
  };
  for (const char* res : {"c", "l"}) {
    for (const auto& c : cases) {
      cli::CoastOptions o;
      o.resolution = res;
      o.max_fetch = c.max;
      std::string whole_problem, near_problem;
      const auto whole = cli::load_finder(o, whole_problem);
      const auto near = cli::load_finder_near(o, c.lat, c.lon, near_problem);
      ASSERT_TRUE(whole) << whole_problem;
      ASSERT_TRUE(near) << near_problem;
      cli::FetchOrigin a, b;
      const std::string pa = whole->find(c.lat, c.lon, c.from, a);
      const std::string pb = near->find(c.lat, c.lon, c.from, b);
      EXPECT_EQ(pa, pb) << c.lat << " " << c.lon;
      EXPECT_EQ(a.fetch_km, b.fetch_km) << c.lat << " " << c.lon << " " << res;
      ASSERT_EQ(a.radials.size(), b.radials.size());
      for (std::size_t i = 0; i < a.radials.size(); ++i) {
        EXPECT_EQ(a.radials[i].distance_km, b.radials[i].distance_km)
            << c.lat << " " << c.lon << " radial " << i;
      }
    }
  }
}

#endif

}  // namespace
}  // namespace cli

#include "morvelstandrik/gshhg/gshhg.hpp"

#include <gtest/gtest.h>
#include <netcdf.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "morvelstandrik/gshhg/binned.hpp"

// Debian's libnetcdf (4.9) keeps what it allocated when it gives up
// opening a damaged file, which the leak checker of the sanitizer build
// would report after the damaged-file tests; the reader has nothing to
// close then.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libnetcdf.so\nleak:libhdf5_serial.so\n";
}

namespace {

namespace fs = std::filesystem;
using coast::Point;

const std::string debian = gshhg::default_directory;

bool have(char r) {
  return fs::exists(debian + "/binned_GSHHS_" + r + ".nc");
}

#define NEED(r)                                            \
  if (!have(r))                                            \
  GTEST_SKIP() << "GSHHG at " << gshhg::resolution_name(r) \
               << " resolution is not installed"

// Great-circle distance in km on a sphere of radius 6371 km.
double km(Point a, Point b) {
  const double r = std::numbers::pi / 180;
  const double s1 = std::sin((b.lat - a.lat) * r / 2);
  const double s2 = std::sin((b.lon - a.lon) * r / 2);
  const double h =
      s1 * s1 + std::cos(a.lat * r) * std::cos(b.lat * r) * s2 * s2;
  return 2 * 6371 * std::asin(std::sqrt(std::min(1.0, h)));
}

// A directory of its own under the system's temporary directory, removed
// at the end of the test.
class TempDir {
 public:
  TempDir() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() /
            ("gshhg_test_" + std::to_string(getpid()) + "_" + test->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::string str() const { return path_.string(); }

 private:
  fs::path path_;
};

struct Place {
  const char* name;
  double lat, lon;
  int level;
};

// Places whose level is known from any atlas. Lake Geneva, Victoria,
// Superior and Ladoga are lakes; Isle Royale lies in Lake Superior and
// Manitoulin Island in Lake Huron; Lake Manitou is a lake on Manitoulin.
// The Ross Ice Shelf counts as land, its front being the coast.
const Place places[] = {
    {"mid North Atlantic", 45.0, -30.0, coast::sea},
    {"Bay of Biscay", 45.5, -4.0, coast::sea},
    {"Kiel Bight", 54.5, 10.25, coast::sea},
    {"equatorial Pacific", 0.0, -150.0, coast::sea},
    {"Tasman Sea", -38.0, 160.0, coast::sea},
    {"Ross Sea off the ice front", -76.0, 180.0, coast::sea},
    {"Paris", 48.86, 2.35, coast::land},
    {"Madrid", 40.42, -3.70, coast::land},
    {"Alice Springs", -23.70, 133.87, coast::land},
    {"inland Siberia", 60.0, 100.0, coast::land},
    {"Greenland ice sheet", 72.0, -40.0, coast::land},
    {"Ross Ice Shelf", -81.0, 180.0, coast::land},
    {"Ronne Ice Shelf", -80.0, -60.0, coast::land},
    {"Lake Geneva", 46.45, 6.55, coast::lake},
    {"Lake Victoria", -1.0, 33.0, coast::lake},
    {"Lake Superior", 47.5, -87.0, coast::lake},
    {"Lake Ladoga", 60.85, 31.5, coast::lake},
    {"Isle Royale", 48.0, -88.9, coast::island_in_lake},
    {"Manitoulin Island", 45.8, -82.7, coast::island_in_lake},
    {"Lake Manitou", 45.79, -81.98, coast::pond},
};

TEST(GshhgLevel, WellKnownPlacesAtIntermediate) {
  NEED('i');
  const coast::Shoreline s = gshhg::load('i');
  for (const Place& p : places)
    EXPECT_EQ(s.level({p.lat, p.lon}), p.level) << p.name;
}

TEST(GshhgLevel, WellKnownPlacesAtFull) {
  NEED('f');
  const coast::Shoreline s = gshhg::load('f');
  for (const Place& p : places)
    EXPECT_EQ(s.level({p.lat, p.lon}), p.level) << p.name;
}

// Points on the sides and corners of the 5-degree tiles, at the poles and
// on the antimeridian, where the tile a point falls in is a choice.
TEST(GshhgLevel, TileSidesPolesAndAntimeridian) {
  NEED('i');
  const coast::Shoreline s = gshhg::load('i');
  const Place cases[] = {
      {"corner in Franconia", 50.0, 10.0, coast::land},
      {"corner near Libourne", 45.0, 0.0, coast::land},
      {"corner in the North Sea", 55.0, 5.0, coast::sea},
      {"corner off Cape Agulhas", -35.0, 20.0, coast::sea},
      {"corner in Kenya", 0.0, 40.0, coast::land},
      {"corner in central Spain", 40.0, -5.0, coast::land},
      {"side in the Atlantic", 32.5, -40.0, coast::sea},
      {"side in Australia", -25.0, 132.5, coast::land},
      {"north pole", 90.0, 0.0, coast::sea},
      {"north pole, other meridian", 90.0, -123.4, coast::sea},
      {"near the north pole", 89.9, 45.0, coast::sea},
      {"south pole", -90.0, 0.0, coast::land},
      {"south pole, other meridian", -90.0, 77.7, coast::land},
      {"near the south pole", -89.9, -135.0, coast::land},
      {"Pacific on the antimeridian", 0.0, 180.0, coast::sea},
      {"Pacific on the antimeridian, west", 0.0, -180.0, coast::sea},
      {"Chukotka on the antimeridian", 67.5, 180.0, coast::land},
      {"Chukotka on the antimeridian, west", 67.5, -180.0, coast::land},
      {"Wrangel Island", 71.2, 180.0, coast::land},
      {"Chukotka, a longitude beyond 180", 67.5, 540.0, coast::land},
      {"Paris, a longitude below -180", 48.86, 2.35 - 360, coast::land},
  };
  for (const Place& p : cases)
    EXPECT_EQ(s.level({p.lat, p.lon}), p.level) << p.name;
}

// A point on a tile's side belongs to one of the two tiles; a point a
// centimetre away lies in the other. Both answers must agree, which holds
// only if the corner levels and the pieces' ends are decoded alike.
TEST(GshhgLevel, SameAnswerOnBothSidesOfEveryTileSide) {
  const std::pair<char, double> tiles[] = {
      {'c', 20}, {'l', 10}, {'i', 5}, {'h', 2}, {'f', 1}};
  for (const auto& [r, size] : tiles) {
    if (!have(r)) continue;
    const coast::Shoreline s = gshhg::load(r);
    const double tiny = 1e-7;  // degrees, about a centimetre
    int compared = 0;
    for (double lat = -90 + size; lat < 90; lat += size)
      for (double lon = -180; lon < 180; lon += 0.37) {
        const int on = s.level({lat, lon});
        EXPECT_EQ(s.level({lat - tiny, lon}), on)
            << r << " " << lat << " " << lon;
        EXPECT_EQ(s.level({lat + tiny, lon}), on)
            << r << " " << lat << " " << lon;
        ++compared;
      }
    for (double lon = -180; lon < 180; lon += size)
      for (double lat = -89.9; lat < 90; lat += 0.37) {
        const int on = s.level({lat, lon});
        EXPECT_EQ(s.level({lat, lon - tiny}), on)
            << r << " " << lat << " " << lon;
        EXPECT_EQ(s.level({lat, lon + tiny}), on)
            << r << " " << lat << " " << lon;
        ++compared;
      }
    EXPECT_GT(compared, 10000);
  }
}

TEST(GshhgLevel, RefusesLatitudesOffTheGlobe) {
  NEED('c');
  const coast::Shoreline s = gshhg::load('c');
  for (const Point p : {Point{90.5, 0}, Point{-91, 0}, Point{NAN, 0},
                        Point{0, NAN}, Point{0, INFINITY}})
    EXPECT_THROW(s.level(p), std::domain_error) << p.lat << " " << p.lon;
}

// Fetch calculations test a point and batches of 10,000 positions.
TEST(GshhgLevel, ManyTestsASecond) {
  NEED('i');
  const coast::Shoreline s = gshhg::load('i');
  // A grid over the Danish straits and the western Baltic, among islands.
  const auto cpu = [] {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) +
           static_cast<double>(t.tv_nsec) * 1e-9;
  };
  const double start = cpu();
  int land = 0;
  for (int i = 0; i < 200; ++i)
    for (int j = 0; j < 500; ++j)
      land += s.level({54.0 + i * 0.02, 9.0 + j * 0.01}) % 2;
  const double seconds =
      cpu() - start;  // processor time: the machine may be busy
  EXPECT_GT(land, 10000);
  EXPECT_LT(land, 90000);
  EXPECT_LT(seconds, 1.0) << "100000 tests took " << seconds << " s";
}

// The distance from a place on the coast to the nearest shoreline point.
double to_coast(const coast::Shoreline& s, Point p) {
  double best = 1e9;
  for (const auto& line : s.lines)
    for (const Point q : line) best = std::min(best, km(p, q));
  return best;
}

TEST(GshhgLines, CoastsOfWellKnownCapesAndBays) {
  NEED('i');
  const coast::Shoreline s = gshhg::load('i');
  const struct {
    const char* name;
    Point at;
  } capes[] = {
      {"Cabo da Roca", {38.780, -9.499}},
      {"Cape Agulhas", {-34.833, 20.009}},
      {"Land's End", {50.066, -5.713}},
      {"Nordkapp", {71.172, 25.784}},
      {"Cape Reinga", {-34.429, 172.680}},
      {"Biarritz, Bay of Biscay", {43.494, -1.546}},
      {"Kiel, head of the Kiel Bight", {54.323, 10.143}},
  };
  for (const auto& c : capes) EXPECT_LT(to_coast(s, c.at), 5.0) << c.name;
}

// Every piece lies within one tile of SIZE degrees, and either closes a ring or
// ends on the tile's sides where the next piece begins at exactly the same
// point.
void check_pieces(char r, double size) {
  const coast::Shoreline s = gshhg::load(r);
  EXPECT_EQ(s.source, "GSHHG");
  EXPECT_EQ(s.resolution, gshhg::resolution_name(r));
  ASSERT_FALSE(s.lines.empty());
  const auto on_side = [size](Point p) {
    return std::fmod(90 - p.lat, size) == 0 || std::fmod(p.lon, size) == 0;
  };
  std::map<std::pair<double, double>, int> ends;
  std::size_t rings = 0;
  for (const auto& line : s.lines) {
    ASSERT_GE(line.size(), 2u);
    double lat0 = 90, lat1 = -90, lon0 = 180, lon1 = -180;
    for (const Point p : line) {
      ASSERT_TRUE(p.lat >= -90 && p.lat <= 90 && p.lon >= -180 && p.lon <= 180);
      lat0 = std::min(lat0, p.lat), lat1 = std::max(lat1, p.lat);
      lon0 = std::min(lon0, p.lon), lon1 = std::max(lon1, p.lon);
    }
    const double west = std::floor(lon0 / size) * size;
    // Rows of tiles run down from the north pole, columns east from 0.
    const double south = 90 - std::ceil((90 - lat0) / size) * size;
    EXPECT_LE(lon1, west + size) << r << " piece at " << lat0 << " " << lon0;
    EXPECT_LE(lat1, south + size) << r << " piece at " << lat0 << " " << lon0;
    const Point a = line.front(), b = line.back();
    if (a.lat == b.lat && a.lon == b.lon) {
      ++rings;
      continue;
    }
    for (const Point p : {a, b}) {
      EXPECT_TRUE(on_side(p)) << r << " end at " << p.lat << " " << p.lon;
      // The pieces on either side of the antimeridian end at 180 and -180.
      ++ends[{p.lat, p.lon == -180 ? 180 : p.lon}];
    }
  }
  EXPECT_GT(rings, 0u);
  EXPECT_GT(ends.size(), 0u);
  for (const auto& [at, count] : ends)
    EXPECT_EQ(count % 2, 0)
        << r << " unmatched end at " << at.first << " " << at.second;
}

TEST(GshhgLines, PiecesEndOnTileSidesOrCloseCrude) {
  NEED('c');
  check_pieces('c', 20);
}
TEST(GshhgLines, PiecesEndOnTileSidesOrCloseLow) {
  NEED('l');
  check_pieces('l', 10);
}
TEST(GshhgLines, PiecesEndOnTileSidesOrCloseIntermediate) {
  NEED('i');
  check_pieces('i', 5);
}
TEST(GshhgLines, PiecesEndOnTileSidesOrCloseHigh) {
  NEED('h');
  check_pieces('h', 2);
}
TEST(GshhgLines, PiecesEndOnTileSidesOrCloseFull) {
  NEED('f');
  check_pieces('f', 1);
}

// The files hold Antarctica twice. Only the ice front is kept: at 180
// degrees the Ross Ice Shelf's front lies near 78 S and its grounding line
// near 84-85 S, so there must be a shore near the one and none near the
// other.
TEST(GshhgLines, AntarcticaOnceAlongItsIceFront) {
  for (const char r : {'c', 'l', 'i', 'h', 'f'}) {
    if (!have(r)) continue;
    const coast::Shoreline s = gshhg::load(r);
    int front = 0, grounding = 0;
    for (const auto& line : s.lines)
      for (const Point p : line)
        if (std::abs(p.lon) >= 175) {
          if (p.lat > -79.5 && p.lat < -76.5) ++front;
          if (p.lat > -86 && p.lat < -83) ++grounding;
        }
    EXPECT_GT(front, 0) << r;
    EXPECT_EQ(grounding, 0) << r;
  }
}

// Walking along a tile's side from one corner to the next, the level
// changes at every end of a piece on that side: the corner levels and the
// pieces' sides, decoded apart, must agree for every level in every tile.
TEST(GshhgDecoding, CornerLevelsAgreeWithPieceEnds) {
  using namespace gshhg::detail;
  for (const char r : {'c', 'l', 'i', 'h', 'f'}) {
    if (!have(r)) continue;
    const Binned b = read_binned(debian + "/binned_GSHHS_" + r + ".nc");
    int disagree = 0;
    for (std::size_t t = 0; t < b.corners.size(); ++t)
      for (int level = 1; level <= 4; ++level) {
        int crossings[4] = {0, 0, 0, 0};  // by side
        for (std::uint32_t i = 0; i < b.piece_count[t]; ++i) {
          const Piece& p = b.pieces[b.first_piece[t] + i];
          if (p.level == 6) continue;  // grounding line
          if (p.level != level || p.first_side == closed) continue;
          ++crossings[p.first_side];
          ++crossings[p.last_side];
        }
        const auto at = [&](Corner c) { return b.corner(t, c) >= level; };
        disagree += (at(south_west) != at(south_east)) != crossings[south] % 2;
        disagree += (at(south_east) != at(north_east)) != crossings[east] % 2;
        disagree += (at(north_west) != at(north_east)) != crossings[north] % 2;
        disagree += (at(south_west) != at(north_west)) != crossings[west] % 2;
      }
    EXPECT_EQ(disagree, 0) << r;
  }
}

TEST(GshhgDecoding, TileSizes) {
  using gshhg::detail::read_binned;
  const struct {
    char r;
    int minutes, columns, rows;
  } cases[] = {{'c', 1200, 18, 9},
               {'l', 600, 36, 18},
               {'i', 300, 72, 36},
               {'h', 120, 180, 90},
               {'f', 60, 360, 180}};
  for (const auto& c : cases) {
    if (!have(c.r)) continue;
    const auto b = read_binned(debian + "/binned_GSHHS_" + c.r + ".nc");
    EXPECT_EQ(b.minutes, c.minutes) << c.r;
    EXPECT_EQ(b.columns, c.columns) << c.r;
    EXPECT_EQ(b.rows, c.rows) << c.r;
  }
}

TEST(GshhgFiles, ResolutionNames) {
  const std::pair<char, const char*> cases[] = {{'c', "crude"},
                                                {'l', "low"},
                                                {'i', "intermediate"},
                                                {'h', "high"},
                                                {'f', "full"}};
  for (const auto& [r, name] : cases)
    EXPECT_EQ(gshhg::resolution_name(r), name);
  for (const char r : {'x', 'C', '\0'}) {
    EXPECT_THROW(gshhg::resolution_name(r), std::invalid_argument);
    EXPECT_THROW(gshhg::load(r), std::invalid_argument);
  }
}

// The message of the BadData that F throws, or "" if it throws none.
template <class F>
std::string bad_data(F f) {
  try {
    f();
  } catch (const coast::BadData& e) {
    return e.what();
  }
  return "";
}

TEST(GshhgFiles, MissingFilesNameTheirPackage) {
  const TempDir empty;
  const std::pair<char, const char*> cases[] = {{'c', "gmt-gshhg-low"},
                                                {'l', "gmt-gshhg-low"},
                                                {'i', "gmt-gshhg-low"},
                                                {'h', "gmt-gshhg-high"},
                                                {'f', "gmt-gshhg-full"}};
  for (const auto& c : cases) {
    const std::string what =
        bad_data([&] { gshhg::load(c.first, empty.str()); });
    EXPECT_NE(what.find(c.second), std::string::npos)
        << c.first << ": " << what;
  }
  const std::string what =
      bad_data([&] { gshhg::finest_installed(empty.str()); });
  EXPECT_NE(what.find("gmt-gshhg-low"), std::string::npos) << what;
}

TEST(GshhgFiles, FinestInstalled) {
  NEED('c');
  const TempDir dir;
  const auto add = [&](char r) {
    const std::string name = std::string("binned_GSHHS_") + r + ".nc";
    fs::copy_file(debian + "/" + name, dir.str() + "/" + name);
  };
  add('c');
  EXPECT_EQ(gshhg::finest_installed(dir.str()), 'c');
  if (have('l')) {
    add('l');
    EXPECT_EQ(gshhg::finest_installed(dir.str()), 'l');
  }
  const char want = have('f') ? 'f' : have('h') ? 'h' : have('i') ? 'i' : 'l';
  EXPECT_EQ(gshhg::finest_installed(), want);
}

// A copy of the crude file with one value changed through netCDF.
void alter(const std::string& path, const char* variable, std::size_t index,
           int value) {
  int id = 0, var = 0;
  ASSERT_EQ(nc_open(path.c_str(), NC_WRITE, &id), NC_NOERR);
  ASSERT_EQ(nc_inq_varid(id, variable, &var), NC_NOERR);
  ASSERT_EQ(nc_put_var1_int(id, var, &index, &value), NC_NOERR);
  ASSERT_EQ(nc_close(id), NC_NOERR);
}

TEST(GshhgFiles, RefusesCorruptFiles) {
  NEED('c');
  const TempDir dir;
  const std::string original = debian + "/binned_GSHHS_c.nc";
  const std::string copy = dir.str() + "/binned_GSHHS_c.nc";
  const auto fresh = [&] {
    fs::remove(copy);
    fs::copy_file(original, copy);
  };
  const auto refused = [&](const std::string& why) {
    const std::string what = bad_data([&] { gshhg::load('c', dir.str()); });
    EXPECT_NE(what.find(copy), std::string::npos) << why << ": " << what;
  };

  // The first piece of the first tile is open, so its first point lies on
  // a side of the tile.
  const struct {
    const char* why;
    const char* variable;
    std::size_t index;
    int value;
  } alterations[] = {
      {"tiles of 7 minutes", "Bin_size_in_minutes", 0, 7},
      {"more points than stored", "N_points_in_file", 0, 14139},
      {"a tile beyond the pieces", "Id_of_first_segment_in_a_bin", 0, 2258},
      {"a negative piece count", "N_segments_in_a_bin", 3, -1},
      {"too many pieces in a tile", "N_segments_in_a_bin", 161, 30000},
      {"a corner of level 7", "Embedded_node_levels_in_a_bin", 20, 7 << 9},
      {"a piece beyond the points", "Id_of_first_point_in_a_segment", 2257,
       14137},
      {"a negative first point", "Id_of_first_point_in_a_segment", 0, -5},
      {"a piece of one point", "Embedded_npts_levels_exit_entry_for_a_segment",
       0, 1 << 9 | 1 << 6},
      {"a piece of level 5", "Embedded_npts_levels_exit_entry_for_a_segment", 0,
       4 << 9 | 5 << 6 | 4 << 3 | 4},
      {"a side 7", "Embedded_npts_levels_exit_entry_for_a_segment", 0,
       4 << 9 | 1 << 6 | 7 << 3 | 7},
      {"an end off its side", "Relative_longitude_from_SW_corner_of_bin", 0,
       12345},
  };
  for (const auto& a : alterations) {
    fresh();
    alter(copy, a.variable, a.index, a.value);
    refused(a.why);
  }

  fresh();
  fs::resize_file(copy, fs::file_size(copy) / 2);
  refused("truncated");
  fs::resize_file(copy, 0);
  refused("empty");
  std::ofstream(copy) << "binned shorelines, honest\n";
  refused("text");
}

}  // namespace

// A region holds exactly the pieces of the whole globe that lie in its
// tiles and answers the same levels there.
TEST(GshhgRegion, SameAsTheWholeGlobeWithinItsTiles) {
  NEED('i');
  const coast::Shoreline all = gshhg::load('i');
  // The Danish straits: the 5-degree tiles from 50 to 60 N, 5 to 15 E.
  const coast::Shoreline part = gshhg::load_region('i', {54, 9, 58, 14});
  EXPECT_EQ(part.source, "GSHHG");
  EXPECT_EQ(part.resolution, "intermediate");
  const auto key = [](const std::vector<Point>& line) {
    std::vector<std::pair<double, double>> k;
    for (const Point p : line) k.emplace_back(p.lat, p.lon);
    return k;
  };
  std::vector<std::vector<std::pair<double, double>>> want, got;
  for (const auto& line : all.lines) {
    bool inside = true;
    for (const Point p : line)
      inside =
          inside && p.lat >= 50 && p.lat <= 60 && p.lon >= 5 && p.lon <= 15;
    if (inside) want.push_back(key(line));
  }
  for (const auto& line : part.lines) got.push_back(key(line));
  std::sort(want.begin(), want.end());
  std::sort(got.begin(), got.end());
  EXPECT_GT(want.size(), 100u);
  EXPECT_EQ(got, want);

  for (double lat = 50; lat < 60; lat += 0.1)
    for (double lon = 5; lon < 15; lon += 0.1)
      ASSERT_EQ(part.level({lat, lon}), all.level({lat, lon}))
          << lat << " " << lon;
  for (const Point p : {Point{45, 10}, Point{55, 0}, Point{0, 0}})
    EXPECT_THROW(part.level(p), std::domain_error) << p.lat << " " << p.lon;
}

TEST(GshhgRegion, AcrossTheAntimeridian) {
  NEED('i');
  // The tiles from 170 E to 170 W, 60 to 70 N.
  const coast::Shoreline s = gshhg::load_region('i', {60, 170, 70, -170});
  EXPECT_EQ(s.level({67.5, 180}), coast::land);  // Chukotka
  EXPECT_EQ(s.level({67.5, -180}), coast::land);
  EXPECT_EQ(s.level({62.0, 179.0}), coast::sea);  // Bering Sea
  EXPECT_THROW(s.level({67.5, 160}), std::domain_error);
  EXPECT_THROW(s.level({67.5, -160}), std::domain_error);
  bool east = false, west = false;
  for (const auto& line : s.lines)
    for (const Point p : line) {
      east = east || p.lon > 170;
      west = west || p.lon < -170;
    }
  EXPECT_TRUE(east && west);
}

TEST(GshhgRegion, RefusesBoxesOffTheGlobe) {
  NEED('c');
  const gshhg::Box bad[] = {{60, 0, 50, 10},
                            {-95, 0, 0, 10},
                            {0, 0, 95, 10},
                            {NAN, 0, 10, 10},
                            {0, INFINITY, 10, 10}};
  for (const gshhg::Box& b : bad)
    EXPECT_THROW(gshhg::load_region('c', b), std::invalid_argument)
        << b.south << " " << b.west << " " << b.north << " " << b.east;
}

TEST(GshhgRegion, KielBightAtFullResolution) {
  NEED('f');
  const coast::Shoreline s = gshhg::load_region('f', {54, 9, 56, 12});
  EXPECT_EQ(s.level({54.5, 10.25}), coast::sea);    // Kiel Bight
  EXPECT_EQ(s.level({54.45, 11.15}), coast::land);  // Fehmarn
  EXPECT_EQ(s.level({55.4, 10.4}), coast::land);    // Odense, Funen
  EXPECT_LT(to_coast(s, {54.323, 10.143}), 1.0);    // Kiel, head of its fjord
}

// Copies of the crude file cut short anywhere or with bytes overwritten
// anywhere: each is refused with BadData or read as a valid shoreline,
// never a crash or another error.
TEST(GshhgFiles, DamageAnywhereIsRefusedOrHarmless) {
  NEED('c');
  const TempDir dir;
  const std::string original = debian + "/binned_GSHHS_c.nc";
  const std::string copy = dir.str() + "/binned_GSHHS_c.nc";
  const auto size = fs::file_size(original);
  std::vector<char> bytes(size);
  std::ifstream(original, std::ios::binary)
      .read(bytes.data(), static_cast<std::streamsize>(size));
  int refused = 0;
  const auto try_load = [&](const std::vector<char>& content,
                            std::size_t length, const std::string& what) {
    std::ofstream(copy, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<std::streamsize>(length));
    try {
      const coast::Shoreline s = gshhg::load('c', dir.str());
      for (const Point p : {Point{45, -30}, Point{48.86, 2.35}, Point{-90, 0}})
        EXPECT_GE(s.level(p), 0) << what;
    } catch (const coast::BadData& e) {
      EXPECT_NE(std::string(e.what()).find(copy), std::string::npos) << what;
      ++refused;
    }
  };
  for (std::size_t cut = 0; cut < size; cut += size / 37 + 1)
    try_load(bytes, cut, "cut at " + std::to_string(cut));
  std::uint32_t seed = 12345;  // a fixed linear congruential sequence
  for (int k = 0; k < 60; ++k) {
    std::vector<char> damaged = bytes;
    seed = seed * 1664525u + 1013904223u;
    const std::size_t at = seed % size;
    for (std::size_t i = at; i < std::min<std::size_t>(size, at + 16); ++i)
      damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
    try_load(damaged, size, "16 bytes changed at " + std::to_string(at));
  }
  EXPECT_GE(refused, 38);  // every cut, at least
}

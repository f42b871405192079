#include "morvelstandrik/coast/user_file.hpp"

#include <gtest/gtest.h>
#include <shapefil.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "morvelstandrik/coast/fetch.hpp"

namespace {

namespace fs = std::filesystem;

class UserFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("coast_test_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string write(const std::string& name, const std::string& text) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << text;
    return p.string();
  }

  // A shapefile of the given type with one shape per list of rings.
  std::string shapefile(
      const std::string& name, int type,
      const std::vector<std::vector<std::vector<double>>>& shapes) {
    const std::string path = (dir_ / name).string();
    SHPHandle h = SHPCreate(path.c_str(), type);
    for (const auto& rings : shapes) {
      std::vector<int> starts;
      std::vector<double> x, y;
      for (const auto& ring : rings) {
        starts.push_back(static_cast<int>(x.size()));
        for (std::size_t i = 0; i + 1 < ring.size(); i += 2) {
          x.push_back(ring[i]);
          y.push_back(ring[i + 1]);
        }
      }
      SHPObject* o = SHPCreateObject(
          type, -1, static_cast<int>(starts.size()), starts.data(), nullptr,
          static_cast<int>(x.size()), x.data(), y.data(), nullptr, nullptr);
      SHPWriteObject(h, -1, o);
      SHPDestroyObject(o);
    }
    SHPClose(h);
    return path + ".shp";
  }

  fs::path dir_;
};

TEST_F(UserFile, GeoJsonPolygonsAndMultiPolygons) {
  const std::string path = write("land.geojson", R"({
    "type": "FeatureCollection",
    "features": [
      {"type": "Feature", "properties": {"name": "a"},
       "geometry": {"type": "Polygon", "coordinates":
         [[[0, 0], [2, 0], [2, 2], [0, 2], [0, 0]],
          [[0.5, 0.5], [1.5, 0.5], [1.5, 1.5], [0.5, 0.5]]]}},
      {"type": "Feature", "properties": null, "geometry": null},
      {"type": "Feature", "properties": {},
       "geometry": {"type": "MultiPolygon", "coordinates":
         [[[[10, 10, 5], [11, 10, 5], [11, 11, 5]]],
          [[[-179.5, -60], [179.5, -60], [179.5, -61], [-179.5, -60]]]]}}
    ]})");
  const coast::Shoreline s = coast::read_user_file(path);
  EXPECT_EQ(s.source, path);
  EXPECT_EQ(s.resolution, "");
  EXPECT_FALSE(s.level);
  ASSERT_EQ(s.lines.size(), 4u);
  EXPECT_EQ(s.lines[0].size(), 5u);
  EXPECT_EQ(s.lines[1].size(), 4u);
  // The open ring is closed, the heights dropped; [lon, lat] becomes
  // {lat, lon}.
  ASSERT_EQ(s.lines[2].size(), 4u);
  EXPECT_EQ(s.lines[2][1].lat, 10);
  EXPECT_EQ(s.lines[2][1].lon, 11);
  EXPECT_EQ(s.lines[2][3].lat, 10);
  EXPECT_EQ(s.lines[2][3].lon, 10);
  EXPECT_EQ(s.lines[3][0].lon, -179.5);

  // Land by the even-odd rule: the first polygon with its hole.
  const coast::Coast c(s);
  EXPECT_EQ(c.level({1.8, 1.0}), coast::land);
  EXPECT_EQ(c.level({0.7, 1.2}), coast::sea);  // in the hole
  EXPECT_EQ(c.level({3.0, 1.0}), coast::sea);
}

TEST_F(UserFile, GeoJsonBareGeometries) {
  const struct {
    const char* text;
    std::size_t rings;
  } cases[] = {
      {R"({"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1],[0,0]]]})", 1},
      {R"({"type":"MultiPolygon","coordinates":[]})", 0},
      {R"({"type":"Feature","geometry":{"type":"Polygon","coordinates":
          [[[0,0],[1,0],[1,1],[0,0]],[[0.1,0.1],[0.2,0.1],[0.2,0.2]]]}})",
       2},
      {R"({"type":"GeometryCollection","geometries":[
          {"type":"Polygon","coordinates":[[[0,0],[1,0],[1,1]]]},
          {"type":"Polygon","coordinates":[[[5,5],[6,5],[6,6]]]}]})",
       2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(coast::read_geojson_text(c.text, "x").lines.size(), c.rings)
        << c.text;
  }
}

TEST_F(UserFile, GeoJsonRefusals) {
  const struct {
    const char* text;
    const char* said;
  } cases[] = {
      {"", "x: not JSON"},
      {"{\"type\": ", "x: not JSON"},
      {"[1, 2]", "x: the file: not a GeoJSON object (no \"type\")"},
      {R"({"type":"FeatureCollection"})",
       "x: the file: a FeatureCollection needs an array features"},
      {R"({"type":"FeatureCollection","features":[{"type":"Feature",
          "geometry":{"type":"LineString","coordinates":[[0,0],[1,1]]}}]})",
       "x: feature 1 is a LineString; land must be Polygon or MultiPolygon"},
      {R"({"type":"Polygon","coordinates":[[[0,0],[1,0],[1,95]]]})",
       "x: the file: position 1, 95 is outside longitude -180..180, "
       "latitude -90..90"},
      {R"({"type":"Polygon","coordinates":[[[0,0],[1],[1,1]]]})",
       "x: the file: a position is [longitude, latitude]"},
      {R"({"type":"Polygon","coordinates":[[[0,"0"],[1,0],[1,1]]]})",
       "x: the file: a position is [longitude, latitude]"},
      {R"({"type":"Polygon","coordinates":[[0,0]]})",
       "x: the file: a position is [longitude, latitude]"},
      {R"({"type":"Polygon","coordinates":[0]})",
       "x: the file: a ring is a list of positions"},
      {R"({"type":"Feature"})", "x: the file: a Feature needs a geometry"},
  };
  for (const auto& c : cases) {
    try {
      coast::read_geojson_text(c.text, "x");
      ADD_FAILURE() << "read " << c.text;
    } catch (const coast::BadData& e) {
      EXPECT_EQ(std::string(e.what()), c.said) << c.text;
    }
  }
  // Nesting deep enough to exhaust a recursive reader's stack.
  const std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_THROW(coast::read_geojson_text(deep, "x"), coast::BadData);
}

TEST_F(UserFile, MissingFiles) {
  const std::string missing = (dir_ / "none.geojson").string();
  try {
    coast::read_user_file(missing);
    ADD_FAILURE();
  } catch (const coast::BadData& e) {
    EXPECT_EQ(std::string(e.what()),
              missing + ": cannot be read: No such file or directory");
  }
  EXPECT_THROW(coast::read_user_file((dir_ / "none.shp").string()),
               coast::BadData);
  EXPECT_THROW(coast::read_user_file(dir_.string()), coast::BadData);
}

TEST_F(UserFile, ShapefilePolygons) {
  const std::string path =
      shapefile("land", SHPT_POLYGON,
                {{{0, 0, 0, 2, 2, 2, 2, 0, 0, 0},
                  {0.5, 0.5, 1.5, 0.5, 1.5, 1.5, 0.5, 0.5}},
                 {{170, -10, 171, -10, 171, -11, 170, -10}}});
  const coast::Shoreline s = coast::read_user_file(path);
  EXPECT_EQ(s.source, path);
  ASSERT_EQ(s.lines.size(), 3u);
  EXPECT_EQ(s.lines[0].size(), 5u);
  EXPECT_EQ(s.lines[0][1].lon, 0);
  EXPECT_EQ(s.lines[0][1].lat, 2);
  EXPECT_EQ(s.lines[2][2].lon, 171);
  EXPECT_EQ(s.lines[2][2].lat, -11);
  const coast::Coast c(s);
  EXPECT_EQ(c.level({1.8, 1.0}), coast::land);
  EXPECT_EQ(c.level({0.8, 1.2}), coast::sea);
}

TEST_F(UserFile, ShapefileRefusals) {
  const std::string points =
      shapefile("points", SHPT_POINT, {{{1, 1}}, {{2, 2}}});
  try {
    coast::read_user_file(points);
    ADD_FAILURE();
  } catch (const coast::BadData& e) {
    EXPECT_EQ(std::string(e.what()),
              points +
                  ": holds shapes of type 1, not polygons; land must be "
                  "Polygon shapes");
  }
  const std::string projected = shapefile(
      "utm", SHPT_POLYGON,
      {{{500000, 6000000, 501000, 6000000, 501000, 6001000, 500000, 6000000}}});
  EXPECT_THROW(coast::read_user_file(projected), coast::BadData);

  // Damaged: every cut of a good file, and its bytes flipped, is either
  // read or refused.
  const std::string good =
      shapefile("good", SHPT_POLYGON, {{{0, 0, 0, 2, 2, 2, 0, 0}}});
  std::ifstream shp_in(good, std::ios::binary);
  const std::string shp((std::istreambuf_iterator<char>(shp_in)), {});
  std::ifstream shx_in(good.substr(0, good.size() - 4) + ".shx",
                       std::ios::binary);
  const std::string shx((std::istreambuf_iterator<char>(shx_in)), {});
  EXPECT_EQ(coast::read_shapefile_bytes(shp, shx, "good").lines.size(), 1u);
  int refused = 0;
  for (std::size_t cut = 0; cut < shp.size(); ++cut) {
    try {
      coast::read_shapefile_bytes(shp.substr(0, cut), shx, "cut");
    } catch (const coast::BadData&) {
      ++refused;
    }
  }
  EXPECT_GT(refused, 0);
  for (std::size_t i = 0; i < shp.size(); ++i) {
    std::string flipped = shp;
    flipped[i] = static_cast<char>(flipped[i] ^ 0xA5);
    try {
      coast::read_shapefile_bytes(flipped, shx, "flipped");
    } catch (const coast::BadData&) {
    }
  }
  // An index whose header claims a million records in 100 bytes.
  std::string big_index = shx.substr(0, 100);
  big_index[24] = 0x7f;
  EXPECT_THROW(coast::read_shapefile_bytes(shp, big_index, "big"),
               coast::BadData);
  try {
    coast::read_shapefile_bytes("not a shapefile", "", "junk.shp");
    ADD_FAILURE();
  } catch (const coast::BadData& e) {
    EXPECT_EQ(std::string(e.what()).rfind("junk.shp: not a shapefile", 0), 0u)
        << e.what();
  }
}

}  // namespace

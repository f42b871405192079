#include "morvelstandrik/grib/wind.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "morvelstandrik/grib/fixtures.hpp"

namespace {

using grib::fixtures::Message;

constexpr std::int64_t kDay = 86400;
// 2026-12-10T00:00Z
const std::int64_t kRun = grib::days_from_civil(2026, 12, 10) * kDay;

// The records at each position; a position's error is thrown.
std::vector<std::vector<grib::Record>> read(
    const std::vector<std::string>& files, std::vector<geo::Position> at,
    grib::Method method = grib::Method::kBilinear) {
  std::vector<grib::Source> sources;
  for (std::size_t k = 0; k < files.size(); ++k) {
    sources.push_back({"f" + std::to_string(k + 1), files[k]});
  }
  std::vector<std::vector<grib::Record>> out;
  for (grib::Series& s : grib::read_wind(sources, at, method)) {
    if (!s.error.empty()) throw grib::Error(s.error);
    out.push_back(std::move(s.records));
  }
  return out;
}

// What the reader says about files that cannot give a wind ("" if none).
std::string refusal(const std::vector<std::string>& files,
                    std::vector<geo::Position> at = {{55, 5}}) {
  try {
    read(files, at);
  } catch (const grib::Error& e) {
    return e.what();
  }
  return "";
}

// u and v linear in latitude and longitude on a 1-degree grid.
std::string linear(int edition, double lat0, double lat1, double lon0,
                   double lon1) {
  Message m;
  m.edition = edition;
  m.run = kRun;
  m.lat0 = lat0;
  m.lat1 = lat1;
  m.lon0 = lon0;
  m.lon1 = lon1;
  m.ni = static_cast<int>(std::fabs(lon1 - lon0)) + 1;
  m.nj = static_cast<int>(std::fabs(lat1 - lat0)) + 1;
  m.value = [](double lat, double lon) { return 2 * lat + 3 * lon; };
  std::string out = grib::fixtures::message(m);
  m.component = 'v';
  m.value = [](double lat, double lon) { return lat - lon; };
  return out + grib::fixtures::message(m);
}

// Bilinear interpolation reproduces a field linear in latitude and
// longitude; the positions are binary fractions, so exactly.
TEST(ReadWind, LinearFieldsExactly) {
  const std::vector<geo::Position> at = {
      {55.25, 3.5}, {50, 0}, {60, 10}, {57.75, 9.125}, {50.5, 0.0625}};
  for (int edition : {1, 2}) {
    for (bool south_first : {false, true}) {
      SCOPED_TRACE(std::to_string(edition) + (south_first ? " S-N" : " N-S"));
      const std::string f = south_first ? linear(edition, 50, 60, 0, 10)
                                        : linear(edition, 60, 50, 0, 10);
      const auto got = read({f}, at);
      ASSERT_EQ(got.size(), at.size());
      for (std::size_t k = 0; k < at.size(); ++k) {
        ASSERT_EQ(got[k].size(), 1u);
        EXPECT_EQ(got[k][0].time, kRun);
        EXPECT_EQ(got[k][0].u, 2 * at[k].lat + 3 * at[k].lon);
        EXPECT_EQ(got[k][0].v, at[k].lat - at[k].lon);
      }
    }
  }
}

// The packings forecasts come in (complex with spatial differencing, as
// NCEP's; CCSDS, as ECMWF's; JPEG 2000) are decoded by ecCodes whole. 12
// bits: ecCodes 2.28 writes complex packing of 16 bits with wrong values
// (grib_set -r gives the same), which is the writer's fault, not read here.
TEST(ReadWind, OtherPackings) {
  auto field = [](double lat, double lon) {
    return 2 * lat + 3 * lon + std::fmod(lat * lon, 7.0);
  };
  auto want = [&](double lat, double lon) {  // bilinear by hand
    const double y0 = std::floor(lat), x0 = std::floor(lon);
    const double wy = lat - y0, wx = lon - x0;
    return (1 - wy) * ((1 - wx) * field(y0, x0) + wx * field(y0, x0 + 1)) +
           wy * ((1 - wx) * field(y0 + 1, x0) + wx * field(y0 + 1, x0 + 1));
  };
  for (const char* packing : {"grid_complex_spatial_differencing",
                              "grid_complex", "grid_ccsds", "grid_jpeg"}) {
    SCOPED_TRACE(packing);
    Message m;
    m.run = kRun;
    m.bits = 12;
    m.packing = packing;
    m.value = field;
    std::string f = grib::fixtures::message(m);
    m.component = 'v';
    f += grib::fixtures::message(m);
    const auto got = read({f}, {{55.25, 3.5}, {51.75, 8.125}});
    EXPECT_NEAR(got[0][0].u, want(55.25, 3.5), 0.1);
    EXPECT_NEAR(got[1][0].v, want(51.75, 8.125), 0.1);
  }
}

TEST(ReadWind, NearestPoint) {
  // (55.25, 3.5): the row of 55, and the column of 4 (halfway goes east);
  // (57.75, 9.125): 58 and 9.
  const auto got = read({linear(2, 60, 50, 0, 10)},
                        {{55.25, 3.5}, {57.75, 9.125}}, grib::Method::kNearest);
  EXPECT_EQ(got[0][0].u, 2 * 55 + 3 * 4);
  EXPECT_EQ(got[1][0].u, 2 * 58 + 3 * 9);
  EXPECT_EQ(got[1][0].v, 58 - 9);
}

// A global grid, 0..359 or -180..179: a position between the last and the
// first column is interpolated across the seam. u is the column's number.
TEST(ReadWind, GlobalSeam) {
  struct Case {
    double lon0, lon1, lon, want;
  };
  const Case cases[] = {
      {0, 359, 359.5 - 360, 179.5},  // -0.5: halfway from 359 (359) to 0 (0)
      {0, 359, -0.25, 89.75},        // a quarter of the way from 0 back
      {0, 359, 10.5, 10.5},
      {-180, 179, 179.5, 179.5},  // columns 359 and 0
      {-180, 179, 170, 350},
      {-180, 179, -179.75, 0.25},
  };
  for (const Case& c : cases) {
    for (int edition : {1, 2}) {
      SCOPED_TRACE(std::to_string(c.lon0) + " " + std::to_string(c.lon));
      Message m;
      m.edition = edition;
      m.run = kRun;
      m.lat0 = 10;
      m.lat1 = -10;
      m.nj = 21;
      m.lon0 = c.lon0;
      m.lon1 = c.lon1;
      m.ni = 360;
      m.value = [&c](double, double lon) {
        double col = lon - c.lon0;
        return col;
      };
      std::string f = grib::fixtures::message(m);
      m.component = 'v';
      f += grib::fixtures::message(m);
      const auto got = read({f}, {{0.5, c.lon}});
      EXPECT_EQ(got[0][0].u, c.want);
    }
  }
}

TEST(ReadWind, GaussianGrid) {
  // The sample's global grid of 64 Gaussian latitudes and 128 longitudes;
  // v is the latitude, so between rows it is the position's latitude (to
  // the packing's resolution), u a whole number per column.
  for (int edition : {1, 2}) {
    Message m;
    m.edition = edition;
    m.run = kRun;
    m.gaussian = true;
    m.value = [](double, double lon) { return lon / 2.8125; };
    std::string f = grib::fixtures::message(m);
    m.component = 'v';
    m.value = [](double lat, double) { return lat; };
    f += grib::fixtures::message(m);
    const auto got = read({f}, {{41.3, 5.625 * 3 + 1.40625}, {-7, -1.40625}});
    EXPECT_NEAR(got[0][0].v, 41.3, 1e-4);
    EXPECT_NEAR(got[0][0].u, 6.5, 1e-4);
    EXPECT_NEAR(got[1][0].v, -7, 1e-4);
    // Across the seam, halfway from column 127 (357.1875) to 0 (360).
    EXPECT_NEAR(got[1][0].u, 127.0 / 2, 1e-4);
  }
}

// Validity times order the records, not the order of files or messages;
// where two runs give the same time the later run wins, whichever file
// comes first.
TEST(ReadWind, RunsOverlap) {
  using grib::fixtures::wind;
  const std::string early =
      wind(2, kRun, 12, 1, 1) + wind(2, kRun, 0, 1, 1) + wind(2, kRun, 6, 1, 1);
  const std::string late =
      wind(1, kRun + 6 * 3600, 6, 2, 2) + wind(1, kRun + 6 * 3600, 0, 2, 2);
  for (const auto& files : {std::vector<std::string>{early, late},
                            std::vector<std::string>{late, early}}) {
    const auto got = read(files, {{55, 5}});
    ASSERT_EQ(got[0].size(), 3u);
    const std::int64_t h = 3600;
    EXPECT_EQ(got[0][0].time, kRun);
    EXPECT_EQ(got[0][0].u, 1);
    EXPECT_EQ(got[0][1].time, kRun + 6 * h);
    EXPECT_EQ(got[0][1].u, 2);
    EXPECT_EQ(got[0][2].time, kRun + 12 * h);
    EXPECT_EQ(got[0][2].u, 2);
  }
}

// The sections of an edition 2 message after its indicator, up to its end
// marker.
std::vector<std::string> sections(const std::string& msg) {
  std::vector<std::string> out;
  std::size_t at = 16;
  while (at + 4 < msg.size()) {
    const auto b = [&](std::size_t k) {
      return std::size_t{static_cast<unsigned char>(msg[at + k])};
    };
    const std::size_t len = (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
    out.push_back(msg.substr(at, len));
    at += len;
  }
  return out;
}

// One edition 2 message holding the fields of two, as NCEP writes u and v:
// the first message's sections, then the second's product, representation,
// bitmap and data sections (4 to 7) again; the total length set anew.
std::string two_fields(const std::string& first, const std::string& second) {
  std::string out = first.substr(0, 16);
  for (const std::string& sec : sections(first)) out += sec;
  for (const std::string& sec : sections(second)) {
    if (sec[4] >= 4) out += sec;
  }
  out += "7777";
  for (int k = 0; k < 8; ++k) {
    out[static_cast<std::size_t>(8 + k)] =
        static_cast<char>((out.size() >> (8 * (7 - k))) & 0xff);
  }
  return out;
}

// Fields packed together in one message give the series they give apart,
// and the next message keeps its number in the file.
TEST(ReadWind, SeveralFieldsInOneMessage) {
  const std::string apart = linear(2, 60, 50, 0, 10);
  const std::vector<std::string> msgs = {apart.substr(0, apart.size() / 2),
                                         apart.substr(apart.size() / 2)};
  ASSERT_EQ(msgs[0].substr(0, 4), "GRIB");
  ASSERT_EQ(msgs[1].substr(0, 4), "GRIB");
  const std::string together = two_fields(msgs[0], msgs[1]);
  const std::vector<geo::Position> at = {{55.5, 4.25}, {51, 9.75}};
  const auto a = read({apart}, at);
  const auto b = read({together}, at);
  for (std::size_t i = 0; i < at.size(); ++i) {
    ASSERT_EQ(b[i].size(), 1u);
    EXPECT_EQ(b[i][0].time, a[i][0].time);
    EXPECT_EQ(b[i][0].u, a[i][0].u);
    EXPECT_EQ(b[i][0].v, a[i][0].v);
    EXPECT_EQ(b[i][0].u, 2 * at[i].lat + 3 * at[i].lon);
  }
  EXPECT_EQ(refusal({together + "junk"}),
            "f1: bytes after message 1 are not GRIB");
}

// Sets bytes of the first message's section `number` (edition 2).
std::string patch2(std::string msg, int number, std::size_t offset,
                   std::vector<unsigned char> bytes) {
  std::size_t at = 16;
  while (at < msg.size() - 4) {
    const auto b = [&](std::size_t k) {
      return static_cast<unsigned char>(msg[at + k]);
    };
    const std::size_t len =
        (std::size_t{b(0)} << 24) | (b(1) << 16) | (b(2) << 8) | b(3);
    if (b(4) == number) {
      for (std::size_t k = 0; k < bytes.size(); ++k) {
        msg[at + offset + k] = static_cast<char>(bytes[k]);
      }
      return msg;
    }
    at += len;
  }
  ADD_FAILURE() << "no section " << number;
  return msg;
}

// Sets the flags of the data section of an edition 1 message (no bitmap).
std::string bds_flags1(std::string msg, unsigned char flags) {
  auto len3 = [&](std::size_t at) {
    return (std::size_t{static_cast<unsigned char>(msg[at])} << 16) |
           (std::size_t{static_cast<unsigned char>(msg[at + 1])} << 8) |
           static_cast<unsigned char>(msg[at + 2]);
  };
  const std::size_t gds = 8 + len3(8);
  const std::size_t bds = gds + len3(gds);
  msg[bds + 3] = static_cast<char>(flags);
  return msg;
}

TEST(ReadWind, Refusals) {
  using grib::fixtures::wind;
  const std::string good = wind(2, kRun, 0, 3, 4);
  const std::string good1 = wind(1, kRun, 0, 3, 4);
  Message t;
  t.component = 't';
  t.run = kRun;
  Message u_only;
  u_only.run = kRun;
  u_only.step_h = 6;
  Message rotated_u;
  struct Case {
    const char* what;
    std::vector<std::string> files;
    std::vector<geo::Position> at;
    std::string says;  // the message must hold this
  };
  const Case cases[] = {
      {"not GRIB", {"temperature,20\n"}, {{55, 5}}, "f1: is not a GRIB file"},
      {"empty", {""}, {{55, 5}}, "f1: is not a GRIB file"},
      {"truncated",
       {good.substr(0, good.size() - 10)},
       {{55, 5}},
       "f1: message 2: it is cut short"},
      {"junk after",
       {good + "xyz"},
       {{55, 5}},
       "f1: bytes after message 2 are not GRIB"},
      {"no end marker",
       {good.substr(0, good.size() - 1) + "8"},
       {{55, 5}},
       "f1: message 2: it is damaged"},
      {"no 10 m wind",
       {grib::fixtures::message(t)},
       {{55, 5}},
       "f1: no 10 m wind"},
      {"u without v",
       {good, grib::fixtures::message(u_only)},
       {{55, 5}},
       "f2: message 1: u without its v at 2026-12-10T06:00Z"},
      {"outside, north",
       {good},
       {{60.5, 5}},
       "f1: message 1: the position "
       "60.5,5 is outside its grid"},
      {"outside, west", {good}, {{55, -0.25}}, "outside its grid (longitudes"},
      {"unknown unit of time",
       {patch2(good.substr(0, good.size() / 2), 4, 17, {200}) +
        good.substr(good.size() / 2)},
       {{55, 5}},
       "f1: message 1: its unit of time 200 is unknown"},
      // ecCodes read past the end of a damaged second-order message (found
      // by fuzzing): such packing is refused before it decodes anything.
      {"second-order packing",
       {bds_flags1(good1, 0x40)},
       {{55, 5}},
       "f1: message 1: its values are packed as spherical harmonics or "
       "second-order"},
      // A missing unit (255) with a large step held ecCodes in a loop
      // (found by fuzzing).
      {"missing unit of time",
       {patch2(good.substr(0, good.size() / 2), 4, 17, {255}) +
        good.substr(good.size() / 2)},
       {{55, 5}},
       "f1: message 1: its unit of time 255 is unknown"},
      {"values do not fit the grid",
       {patch2(good.substr(0, good.size() / 2), 5, 5, {0, 0, 0, 7}) +
        good.substr(good.size() / 2)},
       {{55, 5}},
       "f1: message 1: it holds 7 values for 121 grid points"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string said = refusal(c.files, c.at);
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
  }
}

// A wind on a rotated grid is relative to the grid's axes: refused, not
// read as if it were relative to true north.
TEST(ReadWind, RotatedGridRefused) {
  for (int edition : {1, 2}) {
    Message m;
    m.edition = edition;
    m.run = kRun;
    m.rotated = true;
    std::string f = grib::fixtures::message(m);
    m.component = 'v';
    f += grib::fixtures::message(m);
    const std::string said = refusal({f});
    EXPECT_NE(said.find("f1: message 1: its grid is rotated_ll"),
              std::string::npos)
        << said;
  }
}

// A position outside the grid fails alone; the others are read.
TEST(ReadWind, OnePositionOutside) {
  const std::string bytes = grib::fixtures::wind(2, kRun, 0, 3, 4);
  const std::vector<grib::Source> f = {{"f", bytes}};
  const std::vector<geo::Position> at = {{55, 5}, {20, 5}, {56, 6}};
  const auto got = grib::read_wind(f, at);
  EXPECT_EQ(got[0].records.size(), 1u);
  EXPECT_EQ(got[1].error,
            "f: message 1: the position 20,5 is outside its grid (latitudes "
            "60 to 50)");
  EXPECT_TRUE(got[1].records.empty());
  EXPECT_EQ(got[2].records[0].v, 4);
}

TEST(Time, FormatAndParse) {
  struct Case {
    const char* text;
    std::int64_t t;
    const char* formatted;
  };
  const std::int64_t d = grib::days_from_civil(2026, 12, 10) * kDay;
  const Case cases[] = {
      {"1970-01-01T00:00Z", 0, "1970-01-01T00:00Z"},
      {"2026-12-10T06:00Z", d + 6 * 3600, "2026-12-10T06:00Z"},
      {"2026-12-10T06:00:30Z", d + 6 * 3600 + 30, "2026-12-10T06:00:30Z"},
      {"2026-12-10T06Z", d + 6 * 3600, "2026-12-10T06:00Z"},
      {"2026-12-10 06:00", d + 6 * 3600, "2026-12-10T06:00Z"},
      {"2026-12-10", d, "2026-12-10T00:00Z"},
      {"2024-02-29T23:59+00:00",
       grib::days_from_civil(2024, 2, 29) * kDay + 86340, "2024-02-29T23:59Z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(grib::parse_time(c.text), c.t) << c.text;
    EXPECT_EQ(grib::format_time(c.t), c.formatted) << c.text;
  }
  for (const char* bad : {"2026-12-10T06:00+01:00", "2025-02-29", "10/12/2026",
                          "2026-13-01", "2026-12-10T24:00Z", ""}) {
    EXPECT_THROW(grib::parse_time(bad), grib::Error) << bad;
  }
}

}  // namespace

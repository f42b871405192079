#include "morvelstandrik/units/units.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "morvelstandrik/physics/beaufort.hpp"

namespace units {
namespace {

std::uint32_t bits(float f) {
  return std::bit_cast<std::uint32_t>(f);
}

const Unit& unit(Quantity q, std::string_view name) {
  const Unit* u = find(q, name);
  EXPECT_NE(u, nullptr) << name;
  static const Unit none{"none", q, 1.0, 1.0};
  return u ? *u : none;
}

// The lengths of the units, written out independently of the table: how
// many of the engine's unit (times den) one of them is (times num), as
// exact integers. A knot is 1852 m per 3600 s; a statute mile 1609.344 m;
// a foot 0.3048 m; a fathom 6 ft = 1.8288 m.
struct Ratio {
  Quantity q;
  std::string_view name;
  long double num, den;  // engine units per unit = num / den
};
constexpr Ratio kRatios[] = {
    {Quantity::wind, "kt", 1, 1},
    {Quantity::wind, "m/s", 3600, 1852},
    {Quantity::wind, "km/h", 1000, 1852},
    {Quantity::wind, "mph", 1609344, 1852000},
    {Quantity::fetch, "km", 1, 1},
    {Quantity::fetch, "nmi", 1852, 1000},
    {Quantity::fetch, "mi", 1609344, 1000000},
    {Quantity::depth, "m", 1, 1},
    {Quantity::depth, "ft", 3048, 10000},
    {Quantity::depth, "fathom", 6 * 3048, 10000},
    {Quantity::height, "m", 1, 1},
    {Quantity::height, "ft", 3048, 10000},
};

// The value in the engine's unit from the exact ratio: the product held in
// long double (a 64-bit significand on x86), rounded once to float. The
// rule's double factor and double product agree with it except within
// 2^-52 of a point halfway between two floats, which the sweeps below do
// not reach.
float reference(const Ratio& r, double value) {
  return static_cast<float>(static_cast<long double>(value) * r.num / r.den);
}

TEST(Units, TableNamesAndMessages) {
  EXPECT_EQ(allowed(Quantity::wind), "kt, m/s, km/h, mph or bft");
  EXPECT_EQ(allowed(Quantity::fetch), "km, nmi or mi");
  EXPECT_EQ(allowed(Quantity::depth), "m, ft or fathom");
  EXPECT_EQ(allowed(Quantity::height), "m or ft");
  EXPECT_EQ(engine_unit(Quantity::wind).name, "kt");
  EXPECT_EQ(engine_unit(Quantity::fetch).name, "km");
  EXPECT_EQ(engine_unit(Quantity::depth).name, "m");
  EXPECT_EQ(engine_unit(Quantity::height).name, "m");
  EXPECT_EQ(quantity_name(Quantity::depth), "depth");
  EXPECT_EQ(table().size(), 13u);
  // A unit belongs to its quantity only, and names are exact.
  const struct {
    Quantity q;
    std::string_view name;
  } unknown[] = {
      {Quantity::fetch, "ft"},  {Quantity::height, "fathom"},
      {Quantity::wind, "KT"},   {Quantity::wind, "knots"},
      {Quantity::wind, "m/s "}, {Quantity::depth, "fathoms"},
      {Quantity::fetch, ""},    {Quantity::wind, "km"},
  };
  for (const auto& c : unknown) {
    EXPECT_EQ(find(c.q, c.name), nullptr) << c.name;
  }
}

// Known values, rounded to float by hand from the exact ratios.
TEST(Units, KnownValues) {
  const struct {
    Quantity q;
    std::string_view name;
    double value;
    float engine;
  } cases[] = {
      // 10 * 3600 / 1852 = 19.438444924406...
      {Quantity::wind, "m/s", 10.0, 19.4384441f},
      // 36 km/h is 10 m/s.
      {Quantity::wind, "km/h", 36.0, 19.4384441f},
      // 20 * 1609.344 / 1852 = 17.379524838...
      {Quantity::wind, "mph", 20.0, 17.3795242f},
      {Quantity::fetch, "nmi", 1.0, 1.852f},
      {Quantity::fetch, "nmi", 100.0, 185.2f},
      {Quantity::fetch, "mi", 1.0, 1.609344f},
      {Quantity::depth, "ft", 10.0, 3.048f},
      {Quantity::depth, "fathom", 1.0, 1.8288f},
      {Quantity::depth, "fathom", 10.0, 18.288f},
      {Quantity::height, "ft", 1.0, 0.3048f},
      {Quantity::wind, "m/s", 0.0, 0.0f},
      {Quantity::wind, "m/s", -5.0, -9.71922207f},
  };
  for (const auto& c : cases) {
    const Conversion got = to_engine(unit(c.q, c.name), c.value);
    EXPECT_EQ(got.problem, "") << c.value << ' ' << c.name;
    EXPECT_EQ(bits(got.value), bits(c.engine))
        << c.value << ' ' << c.name << " -> " << got.value;
  }
}

// The engine's own unit gives exactly what the number parser gives: the
// double from the text rounded to float, whatever the value.
TEST(Units, EngineUnitsAreTheIdentity) {
  const char* texts[] = {"0",
                         "-0",
                         "0.1",
                         "20",
                         "65.00001",
                         "1e-45",
                         "7e-46",
                         "1.17549435e-38",
                         "3.4028235e38",
                         "123456789.123456789",
                         "-7.3",
                         "0.3048",
                         "2.5e-40",
                         "9999.99"};
  for (Quantity q :
       {Quantity::wind, Quantity::fetch, Quantity::depth, Quantity::height}) {
    for (const char* text : texts) {
      const double value = std::strtod(text, nullptr);
      const Conversion got = to_engine(engine_unit(q), value);
      EXPECT_EQ(got.problem, "") << text;
      EXPECT_EQ(bits(got.value), bits(static_cast<float>(value))) << text;
      const Conversion back = from_engine(engine_unit(q), got.value);
      EXPECT_EQ(bits(back.value), bits(got.value)) << text;
    }
  }
}

// Every unit against the long-double reference over a sweep of decimal
// inputs, and the sweep holds inputs where rounding the value to float
// first, then the product again, would give another float: the rule
// rounds once.
TEST(Units, OneRoundingAgainstLongDoubleReference) {
  for (const Ratio& r : kRatios) {
    const Unit& u = unit(r.q, r.name);
    int twice_differs = 0;
    for (int i = 0; i <= 20000; ++i) {
      // 0.000, 0.013, ..., 260.000, as the parser reads them from text.
      const std::string text = std::to_string(i * 13 / 1000) + "." +
                               std::to_string(1000 + i * 13 % 1000).substr(1);
      const double value = std::strtod(text.c_str(), nullptr);
      const float expected = reference(r, value);
      const Conversion got = to_engine(u, value);
      ASSERT_EQ(bits(got.value), bits(expected)) << text << ' ' << r.name;
      const float twice = static_cast<float>(
          static_cast<double>(static_cast<float>(value)) * u.factor);
      if (bits(twice) != bits(expected)) ++twice_differs;
    }
    if (r.num != r.den) {
      EXPECT_GT(twice_differs, 0) << r.name;
    }
  }
}

// Engine values shown in a unit: the inverse ratio, once.
TEST(Units, BackFromTheEngine) {
  for (const Ratio& r : kRatios) {
    const Unit& u = unit(r.q, r.name);
    for (float engine :
         {0.0f, 0.1f, 1.0f, 1.74f, 19.4384441f, 42.8f, 9999.99f, 123456.0f}) {
      const float expected =
          static_cast<float>(static_cast<long double>(engine) * r.den / r.num);
      const Conversion got = from_engine(u, engine);
      EXPECT_EQ(got.problem, "");
      EXPECT_EQ(bits(got.value), bits(expected)) << engine << ' ' << r.name;
    }
  }
  // 1 / 0.3048 = 3.2808398950...
  EXPECT_EQ(bits(from_engine(unit(Quantity::height, "ft"), 1.0f).value),
            bits(3.28083992f));
  EXPECT_EQ(from_engine(unit(Quantity::wind, "bft"), 20.0f).problem,
            "has no value in Beaufort forces");
}

// The WMO scale's ranges in whole knots, typed in from the scale, and the
// mean that a force stands for.
TEST(Units, BeaufortScale) {
  const struct {
    int low, high;
    float mean;
  } scale[] = {
      {0, 0, 0.0f},    {1, 3, 2.0f},    {4, 6, 5.0f},    {7, 10, 8.5f},
      {11, 16, 13.5f}, {17, 21, 19.0f}, {22, 27, 24.5f}, {28, 33, 30.5f},
      {34, 40, 37.0f}, {41, 47, 44.0f}, {48, 55, 51.5f}, {56, 63, 59.5f},
      {64, -1, 64.0f},
  };
  ASSERT_EQ(beaufort_scale().size(), 13u);
  const Unit& bft = unit(Quantity::wind, "bft");
  for (int force = 0; force <= 12; ++force) {
    const Force& f = beaufort_scale()[static_cast<std::size_t>(force)];
    EXPECT_EQ(f.force, force);
    EXPECT_EQ(f.low_kt, scale[force].low) << force;
    EXPECT_EQ(f.high_kt, scale[force].high) << force;
    // The ranges meet without a gap.
    if (force > 0) {
      EXPECT_EQ(f.low_kt, beaufort_scale()[force - 1].high_kt + 1) << force;
    }
    const Conversion got = to_engine(bft, force);
    EXPECT_EQ(got.problem, "") << force;
    EXPECT_EQ(bits(got.value), bits(scale[force].mean)) << force;
    // The program's own Beaufort number of the mean is the force again.
    EXPECT_EQ(physics::beaufort(got.value), force) << got.value << " kt";
  }
  EXPECT_EQ(to_engine(bft, -0.0).value, 0.0f);
  EXPECT_EQ(to_engine(bft, 10.0).value, 51.5f);
}

TEST(Units, Refusals) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    Quantity q;
    std::string_view name;
    double value;
    std::string_view problem;
  } cases[] = {
      {Quantity::wind, "bft", 12.5,
       "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", 13, "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", -1, "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", 0.5,
       "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", 1e300,
       "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", nan,
       "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "bft", inf,
       "is not a whole Beaufort force from 0 to 12"},
      {Quantity::wind, "kt", inf, "is not a finite number"},
      {Quantity::wind, "m/s", -inf, "is not a finite number"},
      {Quantity::depth, "m", nan, "is not a finite number"},
      // Finite, but too large for a float once converted or narrowed.
      {Quantity::wind, "m/s", 3e38, "is not a finite number"},
      {Quantity::fetch, "km", 1e39, "is not a finite number"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(to_engine(unit(c.q, c.name), c.value).problem, c.problem)
        << c.value << ' ' << c.name;
  }
  EXPECT_EQ(from_engine(unit(Quantity::height, "ft"),
                        std::numeric_limits<float>::max())
                .problem,
            "is not a finite number");
}

}  // namespace
}  // namespace units

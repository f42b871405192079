#include "morvelstandrik/shell/records.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace shell {
namespace {

std::string list(std::initializer_list<Item> items) {
  std::string out;
  render_list(out, {items.begin(), items.size()});
  return out;
}

std::string tmpl(std::string_view t, std::initializer_list<Value> values) {
  std::string out;
  render_template(out, t, {values.begin(), values.size()});
  return out;
}

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(RealItem, NineSignificantDigitsWithPoint) {
  struct Case {
    float value;
    const char* text;
  } cases[] = {
      {12.5f, "  12.5"},
      {3.0f, "  3."},
      {-0.75f, " -0.75"},
      {0.1f, "  0.100000001"},
      {2.3f, "  2.29999995"},
      {0.0f, "  0."},
      {-0.0f, "  0."},
      {1e10f, "  1.E+10"},
      {123456792.0f, "  123456792."},
      {0.0001f, "  9.99999975E-05"},
      {-1.5e-5f, " -1.49999996E-05"},
      {3.4028235e38f, "  3.40282347E+38"},
      {kInf, "  Infinity"},
      {-kInf, " -Infinity"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, real_item_text(c.value)) << c.value;
  }
}

TEST(Fields, FixedAndIntegerFields) {
  struct FCase {
    int w, d;
    float value;
    const char* text;
  } fcases[] = {
      {4, 1, 2.34f, " 2.3"},        {4, 1, 0.5f, " 0.5"},
      {4, 1, -0.04f, " 0.0"},       {4, 1, 100.0f, "****"},
      {4, 0, 25.3f, " 25."},        {4, 0, 999.6f, "****"},
      {6, 3, 0.0467f, " 0.047"},    {7, 1, -3.14159f, "   -3.1"},
      {10, 1, 15.0f, "      15.0"}, {10, 1, -999999.0f, " -999999.0"},
      {6, 0, 0.0f, "    0."},       {6, 0, 100000.0f, "******"},
      {3, 1, -0.5f, "-.5"},         {4, 0, 4999.0f, "****"},
      {6, 1, 3.4f, "   3.4"},       {4, 1, 9999.99f, "****"},
  };
  for (const FCase& c : fcases) {
    EXPECT_EQ(c.text, fixed_field(c.w, c.d, c.value))
        << "F" << c.w << "." << c.d << " " << c.value;
  }
  struct ICase {
    int w;
    std::int32_t value;
    const char* text;
  } icases[] = {
      {3, 7, "  7"},          {3, -45, "-45"},  {3, 1000, "***"},
      {6, -123, "  -123"},    {3, -100, "***"}, {6, 99999, " 99999"},
      {6, 9999999, "******"}, {4, 0, "   0"},
  };
  for (const ICase& c : icases) {
    EXPECT_EQ(c.text, integer_field(c.w, c.value)) << c.w << " " << c.value;
  }
}

TEST(ListRecord, PlacesItemsWithinEightyColumns) {
  EXPECT_EQ("\n", list({}));
  EXPECT_EQ("  \n", list({" "}));
  EXPECT_EQ("    [Sea Sickness Probability= 15 Percent]\n",
            list({"   [Sea Sickness Probability=", 15, " Percent]"}));
  // 62 + 31 reaches 80: the second item goes on its own line.
  const std::string a61(61, 'a'), b31(31, 'b');
  EXPECT_EQ(" " + a61 + "\n " + b31 + "\n", list({a61, b31}));
  // 79 characters fill an 80-character line, nothing is cut.
  const std::string c79(79, 'c');
  EXPECT_EQ(" " + c79 + "\n", list({c79}));
  // 60 + 19 stays below 80 on one line.
  const std::string c59(59, 'c'), d19(19, 'd');
  EXPECT_EQ(" " + c59 + d19 + "\n", list({c59, d19}));
  // An integer's blank and sign do not count in the test.
  const std::string e77(77, 'e');
  EXPECT_EQ(" " + e77 + " -1\n", list({e77, -1}));
  EXPECT_EQ(" " + e77 + "\n 10\n", list({e77, 10}));
  // Reals carry their own leading blank; a real that does not fit wraps.
  EXPECT_EQ(" ERROR: v,c=  1.5 -2.\n", list({"ERROR: v,c=", 1.5f, -2.0f}));
  const std::string f75(75, 'f');
  EXPECT_EQ(" " + f75 + "\n  12.5\n", list({f75, 12.5f}));
  // Bytes pass unchanged, the 0xF5 of the grounding record included.
  EXPECT_EQ(" ???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !\n",
            list({"???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !"}));
  EXPECT_EQ(std::string(" a\0b", 4) + "\n",
            list({std::string_view("a\0b", 3)}));
}

TEST(TemplateRecord, WalksFieldsAndRepeats) {
  EXPECT_EQ(
      "  n=           1     2     3     4     5     6     7     8     9"
      "    10\n  n=          11    12\n",
      tmpl("(1X,' n=      ',10I6)", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(" Windspeed = 25. kt, Bft=  6;   Distance =\n",
            tmpl("(' Windspeed =',F4.0,' kt, Bft=',I3,';   Distance =',"
                 "F6.0,' km')",
                 {25.0f, 6}));
  EXPECT_EQ("        [ Default:       15.0 ].    Input=\n",
            tmpl("('        [ Default: ',F10.1,' ].    Input=')", {15.0f}));
  EXPECT_EQ(
      "        [ Default:  -999999.0 ].    Input=\n",
      tmpl("('        [ Default: ',F10.1,' ].    Input=')", {-999999.0f}));
  EXPECT_EQ("    5   20.0 kt    10.h   100.km    10.m    0.0 kt\n",
            tmpl("(1X,I4,'  ',F5.1,' kt  ',F5.0,'h',F7.0,'km',F7.0,'m',"
                 "F7.1,' kt')",
                 {5, 20.0f, 10.0f, 100.0f, 10.0f, 0.0f}));
  EXPECT_EQ("           Seascale=  3     3     3\n",
            tmpl("(10X,' Seascale=',I3,10I6)", {3, 3, 3}));
  EXPECT_EQ("           Hmax=   ******************\n",
            tmpl("(10X,' Hmax=   ',10F6.1)", {99999.0f, 99999.0f, 99999.0f}));
  // No values: the walk stops at the first field.
  EXPECT_EQ(" hrs=\n", tmpl("(1X,'hrs=',I3)", {}));
}

}  // namespace
}  // namespace shell

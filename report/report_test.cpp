#include "morvelstandrik/report/report.hpp"

#include <gtest/gtest.h>

#include <string>

namespace report {
namespace {

using windsea::Conditions;
using windsea::Model;

std::string windsea_text(const Conditions& c) {
  std::string out;
  windsea(out, windsea::evaluate(c));
  return out;
}

std::string line_with(const std::string& text, const std::string& tag) {
  const std::size_t at = text.find(tag);
  if (at == std::string::npos) return "";
  const std::size_t start = text.rfind('\n', at) + 1;
  return text.substr(start, text.find('\n', at) - start);
}

TEST(WindSeaReport, TheCompleteReport) {
  // The 20 kt sea over 10 h and 100 km carried into 10 m of water.
  EXPECT_EQ(
      "  ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ \n"
      "  Bft:   Wind:    Time:   Fetch:   Depth:  Current:\n"
      "    5   20.0 kt    10.h   100.km    10.m    0.0 kt\n"
      "  \n"
      "  Characteristic Wave Height Hc, Length Lc, Period Tc:\n"
      "    ==>            Hc= 1.7 m, Lc= 39.m, Tc= 5.2 sec \n"
      "  \n"
      "    [actual steepness= 0.044, factor = 1.0]:\n"
      "    [deep water  : Hc= 1.9 m, Lc= 43.m, U^= -4.0 kt]\n"
      "  ====================================================\n"
      "    [Sea Sickness Probability= 17 Percent]\n"
      "     >> WARNING: dangerous shoal waves !\n"
      "  \n"
      "           Development over the next hours:\n"
      "  Single waves may reach height=Hmax within  ... hrs:\n"
      "           hrs=       3    12    48\n"
      "           Hmax=      3.4   3.7   4.0\n"
      "           Seascale=  3     3     3\n"
      "  [average number of waves per hour: 680 ]\n",
      windsea_text({20, 10, 100, 10, 0}));
}

TEST(WindSeaReport, WhatTheModelCannotGiveShowsAsAsterisks) {
  // Blocked by 15 kt against the waves in deep water: no height, no length.
  const std::string blocked = windsea_text({20, 10, 100, 5000, -15});
  EXPECT_EQ("    ==>            Hc=**** m, Lc=****m, Tc= 5.2 sec ",
            line_with(blocked, "==>"));
  EXPECT_EQ("    [Sea Sickness Probability= 90 Percent]",
            line_with(blocked, "Sea Sickness"));
  EXPECT_EQ("  >>>###>>> DANGER of CAPSIZING: HAZARDOUS BREAKERS !!!!!!!",
            line_with(blocked, "CAPSIZING"));
  EXPECT_EQ(std::string::npos, blocked.find("Development"));
  // A low relative sea over blocked waves: the table's values are stars.
  const std::string table =
      windsea_text({10, 1, 1, 5000, -15, Model::kRelativeWind});
  EXPECT_EQ("           Hmax=   ******************", line_with(table, "Hmax="));
  EXPECT_EQ("           Seascale=***************",
            line_with(table, "Seascale="));
  EXPECT_EQ("           hrs=       3    12    48", line_with(table, "hrs="));
}

TEST(WindSeaReport, HeightHeldBetweenHorizons) {
  // 10 kt, 10 h, 500 km, 1 m deep, 1 kt against: the 12-hour horizon's own
  // sea is lower than the 3-hour one's and is held at it.
  EXPECT_EQ("           Hmax=      1.5   1.7   1.8",
            line_with(windsea_text({10, 10, 500, 1, -1}), "Hmax="));
}

TEST(WindSeaReport, GroundingRecordKeepsItsByte) {
  const std::string text = windsea_text({30, 24, 500, 1, 0});
  EXPECT_EQ(" ???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !",
            line_with(text, "FLOUNDER"));
  EXPECT_EQ(44u, warning_text(windsea::Warning::kGrounding).size());
}

TEST(SwellReport, ResultLinesOfEachOutcome) {
  const std::string conclusion =
      " m\n\n    This leads to the following conclusion:\n\n";
  const std::string field =
      " The (distant) Wind-Field is characterized by:\n\n";
  const struct {
    float period, height;
    std::string text;
  } cases[] = {
      {10, 3,
       " Period of the Swell =  10.0 sec,  Height = 3.0" + conclusion + field +
           " Windspeed = 30. kt, Bft=  7;   Distance =  400. km\n"},
      {12, 2,
       " Period of the Swell =  12.0 sec,  Height = 2.0" + conclusion + field +
           " Windspeed = 31. kt, Bft=  7;   Distance = 1200. km\n"},
      {8, 3,
       " Period of the Swell =   8.0 sec,  Height = 3.0" + conclusion + field +
           " Windspeed = 24. kt, Bft=  6;   Distance =  150. km\n"},
      // Between the 20 and 30 kt rows at 6 s (3.46 and 11.12 m): 22 kt.
      {6, 5,
       " Period of the Swell =   6.0 sec,  Height = 5.0" + conclusion + field +
           " Windspeed = 22. kt, Bft=  6;   Distance =    0. km\n"},
      {10, 0.5f,
       " Period of the Swell =  10.0 sec,  Height = 0.5" + conclusion +
           " Windspeed less than = 20. kt, Bft=  5\n"
           "\n"
           " Distance of Windfield larger than = 1000. km\n"},
      {10, 12,
       " Period of the Swell =  10.0 sec,  Height =12.0" + conclusion +
           " Windspeed higher than = 50. kt, Bft= 10\n"
           "\n"
           " Distance of Windfield less than =   90. km\n"},
  };
  for (const auto& c : cases) {
    std::string out;
    swell(out, swell::infer(c.period, c.height));
    EXPECT_EQ(c.text, out) << c.period << " s, " << c.height << " m";
  }
}

}  // namespace
}  // namespace report

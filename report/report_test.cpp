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

}  // namespace
}  // namespace report

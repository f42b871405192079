// A batch file's header mapped to the command's columns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/pipeline.hpp"

namespace cli {
namespace {

const Command& command(std::string_view name) {
  for (const Command& c : commands()) {
    if (c.name == name) return c;
  }
  ADD_FAILURE() << "no command " << name;
  return commands()[0];
}

TEST(Header, MapsColumnsAndCarriesTheRest) {
  const Command& ws = command("windsea");
  const struct {
    std::vector<std::string> header;
    const char* problem;
    std::vector<std::ptrdiff_t> at;  // per entry
    std::ptrdiff_t model_at;
    std::vector<std::size_t> carried;
  } cases[] = {
      {{"wind_kt", "duration_h", "fetch_km", "depth_m"},
       "",
       {0, 1, 2, 3, -1},
       -1,
       {}},
      {{"id", " depth_m ", "model", "current_kt", "fetch_km", "duration_h",
        "wind_kt", "x"},
       "",
       {6, 5, 4, 1, 3},
       2,
       {0, 7}},
      {{"wind_kt", "duration_h", "fetch_km", "depth_m", "wind_kt"},
       "the header names column wind_kt twice",
       {},
       -1,
       {}},
      {{"wind_kt", "duration_h", "depth_m", "current_kt"},
       "the header has no column fetch_km (found: wind_kt, duration_h, "
       "depth_m, current_kt; expected: wind_kt, duration_h, fetch_km, "
       "depth_m, and optionally current_kt, model)",
       {},
       -1,
       {}},
      // Spreadsheets capitalize names: any letter case is the column.
      {{"Wind_kt", "DURATION_H", " Fetch_Km", "depth_m", "Model"},
       "",
       {0, 1, 2, 3, -1},
       4,
       {}},
      {{"wind_kt", "duration_h", "fetch_km", "depth_m", "WIND_KT"},
       "the header names column WIND_KT twice",
       {},
       -1,
       {}},
  };
  for (const auto& c : cases) {
    Layout layout;
    EXPECT_EQ(c.problem, map_header(ws, c.header, layout));
    if (*c.problem != '\0') continue;
    for (std::size_t k = 0; k < c.at.size(); ++k) {
      EXPECT_EQ(c.at[k], layout.at[k]) << k;
    }
    EXPECT_EQ(c.model_at, layout.model_at);
    EXPECT_EQ(c.carried, layout.carried);
    EXPECT_EQ(c.header.size(), layout.width);
  }
}

}  // namespace
}  // namespace cli

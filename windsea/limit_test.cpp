#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "morvelstandrik/windsea/engine.hpp"

namespace windsea {
namespace {

std::vector<Note> notes_of(Notes n) {
  std::vector<Note> out;
  for (int i = 0; i < kNoteCount; ++i) {
    if (n.has(static_cast<Note>(i))) out.push_back(static_cast<Note>(i));
  }
  return out;
}

struct LimitCase {
  const char* name;
  Limited (*rule)(float);
  float entry, used, tolerance;
  std::vector<Note> notes;
};

TEST(Limit, EachEntryToItsRange) {
  using N = Note;
  // clang-format off
  const LimitCase cases[] = {
      {"wind inside",              limit_wind,     20,       20,      0,      {}},
      {"light wind",               limit_wind,     0.5f,     1,       0,      {N::kWindRaised}},
      {"65 kt is reliable",        limit_wind,     65,       65,      0,      {}},
      // 65 + 10 ln(100/65) = 69.308; again: 65 + 10 ln(69.308/65) = 65.642
      {"100 kt compressed",        limit_wind,     100,      69.308f, 0.001f, {N::kWindCompressed}},
      {"compressed again",         limit_wind,     69.308f,  65.642f, 0.001f, {N::kWindCompressed}},
      // e^0.5 * 65 = 107.17: above it the compression passes 70.
      {"120 kt capped",            limit_wind,     120,      70,      0,      {N::kWindCompressed, N::kWindCapped}},
      {"infinite wind",            limit_wind,     INFINITY, 70,      0,      {N::kWindCompressed, N::kWindCapped}},
      {"duration 0",               limit_duration, 0,        1,       0,      {N::kDurationRaised}},
      {"duration -5",              limit_duration, -5,       1,       0,      {N::kDurationRaised}},
      {"duration 500",             limit_duration, 500,      200,     0,      {N::kDurationLowered}},
      {"duration 200",             limit_duration, 200,      200,     0,      {}},
      {"fetch 0",                  limit_fetch,    0,        1,       0,      {N::kFetchRaised}},
      {"fetch 6000",               limit_fetch,    6000,     5000,    0,      {N::kFetchLowered}},
      {"depth 0.5",                limit_depth,    0.5f,     1,       0,      {N::kDepthRaised}},
      {"depth 9000",               limit_depth,    9000,     5000,    0,      {N::kDepthLowered}},
      {"current 2000 is a slip",   limit_current,  2000,     0,       0,      {N::kCurrentIgnored}},
      {"current 1000 is not",      limit_current,  1000,     15,      0,      {N::kCurrentLowered}},
      {"current 999",              limit_current,  999,      15,      0,      {N::kCurrentLowered}},
      {"current -40",              limit_current,  -40,      -15,     0,      {N::kCurrentRaised}},
      {"current -2000 is no slip", limit_current,  -2000,    -15,     0,      {N::kCurrentRaised}},
      {"current 0",                limit_current,  0,        0,       0,      {}},
  };
  // clang-format on
  for (const LimitCase& c : cases) {
    const Limited l = c.rule(c.entry);
    EXPECT_NEAR(c.used, l.value, c.tolerance) << c.name;
    EXPECT_EQ(c.notes, notes_of(l.notes)) << c.name;
  }
}

TEST(Limit, AllEntriesAtOnce) {
  const LimitedConditions l =
      limit({100, 500, 0, -5, 2000, Model::kRelativeWind});
  EXPECT_NEAR(69.308f, l.used.wind, 0.001f);
  EXPECT_EQ(200.0f, l.used.dura);
  EXPECT_EQ(1.0f, l.used.fetch);
  EXPECT_EQ(1.0f, l.used.depth);
  EXPECT_EQ(0.0f, l.used.curr);
  EXPECT_EQ(Model::kRelativeWind, l.used.model);
  const std::vector<Note> expected = {
      Note::kWindCompressed, Note::kDurationLowered, Note::kFetchRaised,
      Note::kDepthRaised, Note::kCurrentIgnored};
  EXPECT_EQ(expected, notes_of(l.notes));
  EXPECT_TRUE(limit({20, 10, 100, 10, 0}).notes.empty());
}

}  // namespace
}  // namespace windsea

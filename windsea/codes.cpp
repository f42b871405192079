// The stable names of the wind-sea engine's codes, with the texts for
// people: one table each, checked against its enum's size.
#include <iterator>

#include "morvelstandrik/windsea/engine.hpp"

namespace windsea {
namespace {

constexpr fields::Coded kNotes[] = {
    {"wind_raised", "wind below 1 kt: used as 1 kt"},
    {"wind_compressed",
     "winds above 65 kt take the tops off the waves: the wind is compressed "
     "to 65 + 10 ln(wind/65) kt; wave heights will actually be lower than "
     "calculated"},
    {"wind_capped", "compressed wind above 70 kt: used as 70 kt"},
    {"duration_raised", "duration below 1 h: used as 1 h"},
    {"duration_lowered", "duration above 200 h: used as 200 h"},
    {"fetch_raised", "fetch below 1 km: used as 1 km"},
    {"fetch_lowered", "fetch above 5000 km: used as 5000 km"},
    {"depth_raised", "depth below 1 m: used as 1 m"},
    {"depth_lowered", "depth above 5000 m: used as 5000 m"},
    {"current_ignored",
     "current above 1000 kt taken for a slip of the keyboard: used as 0 kt"},
    {"current_lowered", "current above 15 kt: used as 15 kt"},
    {"current_raised", "current below -15 kt: used as -15 kt"},
};
static_assert(std::size(kNotes) == kNoteCount);

constexpr fields::Coded kWarnings[] = {
    {"critical_sea_state", "       >>> Warning: critical sea state "},
    {"grounding", "???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !"},
    {"dangerous_shoal_waves", "    >> WARNING: dangerous shoal waves !"},
    {"unpleasant_shoal_waves", "    >>  unpleasant shoal waves !"},
    {"breaking_waves", "    >> WARNING: breaking waves ! "},
    {"some_breaking_waves",
     "    >> Warning: some breaking waves may appear ! "},
    {"hazardous_breakers", " >>>>> DANGER: HAZARDOUS BREAKERS  !!!!!! "},
    {"capsizing", " >>>###>>> DANGER of CAPSIZING: HAZARDOUS BREAKERS !!!!!!!"},
};
static_assert(std::size(kWarnings) == kWarningCount);
static_assert(kWarnings[kWarningCount - 1].code == "capsizing");

constexpr fields::Coded kStatuses[] = {
    {"ok", ""}, {"breaking", ""}, {"blocked", ""}};
static_assert(std::size(kStatuses) ==
              static_cast<std::size_t>(Status::kBlocked) + 1);

constexpr fields::Coded kModels[] = {{"deep-water", ""}, {"relative-wind", ""}};
static_assert(std::size(kModels) ==
              static_cast<std::size_t>(Model::kRelativeWind) + 1);

constexpr fields::Coded kGrowthLimits[] = {{"duration", ""}, {"fetch", ""}};
static_assert(std::size(kGrowthLimits) ==
              static_cast<std::size_t>(GrowthLimit::kFetch) + 1);

}  // namespace

std::span<const fields::Coded> notes() {
  return kNotes;
}
std::span<const fields::Coded> warnings() {
  return kWarnings;
}
std::span<const fields::Coded> statuses() {
  return kStatuses;
}
std::span<const fields::Coded> models() {
  return kModels;
}
std::span<const fields::Coded> growth_limits() {
  return kGrowthLimits;
}

}  // namespace windsea

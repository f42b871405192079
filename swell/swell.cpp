#include "morvelstandrik/swell/swell.hpp"

#include <cstdint>

#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/swell/distance.hpp"
#include "morvelstandrik/swell/swelld.hpp"

namespace swell {
namespace {

constexpr const char* kBanner =
    " ~~~~~~~~~~~~~~~~~  S W E L L ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ";

// The lines that describe the wind field, by outcome of the inversion.
void show_wind_field(shell::Console& console, std::int32_t ier, float wind,
                     std::int32_t ibft, float dist) {
  switch (ier) {
    case 0:
      console.list({"The (distant) Wind-Field is characterized by:"});
      console.empty();
      console.record(
          "(' Windspeed =',F4.0,' kt, Bft=',I3,';   Distance =',F6.0,' km')",
          {wind, ibft, dist});
      break;
    case 1:
      console.record("(' Windspeed less than =',F4.0,' kt, Bft=',I3)",
                     {wind, ibft});
      console.empty();
      console.record("(' Distance of Windfield larger than =',F6.0,' km')",
                     {dist});
      console.empty();
      break;
    default:
      console.record("(' Windspeed higher than =',F4.0,' kt, Bft=',I3)",
                     {wind, ibft});
      console.empty();
      console.record("(' Distance of Windfield less than =',F6.0,' km')",
                     {dist});
      console.empty();
      break;
  }
}

}  // namespace

void swell(shell::Console& console) {
  for (;;) {
    // Nothing carries over from one pass to the next: an entry without a
    // value reads as 0.
    float period = 0.0f;
    float height = 0.0f;
    console.empty(51);
    console.list({kBanner});
    console.empty();
    console.list(
        {"From the observation of the swell height and swell period,"});
    console.list(
        {"this program calculates the strength or speed and the distance"});
    console.list({"of the windfield which has caused the observed swell."});
    console.empty();
    console.list({"[enter  0   to return to main menu]"});
    console.empty();
    console.list({"Input: Period of the swell in seconds"});
    console.read(period);
    console.empty();
    if (period < 0.1f) return;
    console.list({"Input: Height of the swell in meters="});
    console.read(height);

    const Inversion field = swelld(period, height);
    const std::int32_t ibft = physics::beaufort(field.wind);
    const float dist = round_distance(field.dist);

    console.empty(51);
    console.list({kBanner});
    console.empty(2);
    console.record(
        "(' Period of the Swell =',F6.1,' sec,  Height =',F4.1,' m')",
        {period, height});
    console.empty();
    console.list({"   This leads to the following conclusion:"});
    console.empty();
    show_wind_field(console, field.ier, field.wind, ibft, dist);
    console.empty(6);
    console.list({"hit [ENTER] to continue"});
    console.wait_enter();
  }
}

}  // namespace swell

#include "morvelstandrik/dialogue/swell.hpp"

#include <cstdint>

#include <string>

#include "morvelstandrik/report/report.hpp"
#include "morvelstandrik/swell/engine.hpp"

namespace dialogue {
namespace {

constexpr const char* kBanner =
    " ~~~~~~~~~~~~~~~~~  S W E L L ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ";

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
    if (period < swell::kShortestPeriod) return;
    console.list({"Input: Height of the swell in meters="});
    console.read(height);

    const swell::Field field = swell::infer(period, height);
    std::string result;
    report::swell(result, field);
    console.empty(51);
    console.list({kBanner});
    console.empty(2);
    console.text(result);
    // The one-sided outcomes close with an empty record of their own.
    if (field.outcome != swell::Outcome::kInside) console.empty();
    console.empty(6);
    console.list({"hit [ENTER] to continue"});
    console.wait_enter();
  }
}

}  // namespace dialogue

#include "morvelstandrik/dialogue/windsea.hpp"

#include <cmath>
#include <cstdint>

#include <string>

#include "morvelstandrik/report/report.hpp"
#include "morvelstandrik/shell/readit.hpp"

namespace dialogue {
namespace {

constexpr const char* kTildes =
    " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ";

void introduction(shell::Console& console) {
  console.empty(50);
  for (const char* line : {
           " ~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~~~~~~~~~~~~~ ",
           " ",
           "The program calculates wave-length, wave-height and periodicity",
           "based on input-data for wind-speed, duration, fetch, depth and",
           "current. -  Agreement typically within a few percent is",
           "achieved with various results from publicly available",
           "sources, e.g. US Army Coastal Engineering CETN IV-17, the",
           "document WMO-Nr.702 of the World Meteorological Organisation,",
           "or the book \"Seewetter\", ISBN 3-88412-367-X, but no guarantee",
           "can be given.    <vob>",
       }) {
    console.list({line});
  }
  console.empty(2);
  console.list({"[hit ENTER to continue]..."});
  console.skip_line();
  console.empty(50);
  for (const char* line : {
           " ~~~~~ Details of the model: ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ",
           "The program is based on hydrodynamic and oceanographic",
           "theory, such as Rayleigh-, Pierson-Moskowitz-, JONSWAP-",
           "Models for the deep-water calculations, and has been",
           "adjusted to match experimental observations. - The shallow-",
           "water and the current calculations assume, that wind-sea",
           "is generated in deep water without current, the waves then",
           "approaching an area with shallow water and/or current.",
           "This holds typically for coastal tidal currents, or sudden",
           "reductions of depth in coastal waters. - ",
           "(For large areas of reduced depth like the baltic sea this ",
           "model may somewhat overestimate the wave height)",
           "[ To be used as an estimate only, not safe for navigation ! ]",
           " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ",
       }) {
    console.list({line});
  }
}

}  // namespace

void windsea_report(shell::Console& console, const windsea::Conditions& in) {
  std::string text;
  report::windsea(text, windsea::evaluate(in));
  console.text(text);
}

void ocean(shell::Console& console) {
  float zwind = 15.0f;
  float zdura = 200.0f;
  float zfetch = 5000.0f;
  float zdepth = 5000.0f;
  float zcurr = 0.0f;
  windsea::Model model = windsea::Model::kDeepWater;

  introduction(console);
  for (;;) {
    console.list({"~~~ [enter  0   to return to main menu] ~~~"});
    console.list({" "});
    console.list({"Input> Wind-speed in knots, Range:{1,65}="});
    shell::readit(console, zwind);
    // A negative wind is the switch to the sea of the relative wind, for
    // the rest of this calculation.
    if (zwind < -0.5f) model = windsea::Model::kRelativeWind;
    if (!windsea::raises_sea(zwind)) break;
    const windsea::Limited wind = windsea::limit_wind(std::fabs(zwind));
    if (wind.notes.has(windsea::Note::kWindCompressed)) {
      console.empty();
      console.list({" NOTE: Results for winds above 65 knots are not "});
      console.list({" reliable, as these winds will take off the tops"});
      console.list({" of the waves.        Therefore:"});
      console.list({" Waveheights will be actually LOWER than calculated!"});
      console.empty();
    }
    zwind = wind.value;

    console.list({"Input> Duration of wind in hours, Range:{1,200} ="});
    shell::readit(console, zdura);
    zdura = windsea::limit_duration(zdura).value;
    console.list({"Input> Fetch in  km, Range:{1,5000} ="});
    shell::readit(console, zfetch);
    zfetch = windsea::limit_fetch(zfetch).value;
    console.list({"Input> Depth of water in meters, Range:{1,5000} ="});
    shell::readit(console, zdepth);
    zdepth = windsea::limit_depth(zdepth).value;
    console.list({"Input> Current of water in knots, Range:{-15,15} ="});
    console.list({"       (negative value: current against the wind)"});
    shell::readit(console, zcurr);
    zcurr = windsea::limit_current(zcurr).value;

    console.empty(50);
    console.empty(20);
    windsea_report(console, windsea::Conditions{zwind, zdura, zfetch, zdepth,
                                                zcurr, model});

    console.list({kTildes});
    console.list({" hit [ENTER] to continue :"});
    std::array<char, 1> answer = {'-'};
    console.read_line(answer);
    console.empty(50);
    if (answer[0] == '0' || answer[0] == 'x' || answer[0] == 'q') break;
  }
  console.list({kTildes});
  console.list({" "});
  console.list({"#### end of program brelvomant ###"});
}

}  // namespace dialogue

#include "morvelstandrik/windsea/ocean.hpp"

#include <cmath>
#include <cstdint>

#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/shell/readit.hpp"

namespace windsea {
namespace {

constexpr const char* kTildes =
    " ~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~ ";

// Puts the height correction's group-velocity self-check on the console at
// the moment it is raised.
class ConsoleCheck final : public physics::SelfCheck {
 public:
  explicit ConsoleCheck(shell::Console& console) : console_(console) {}
  void group_velocity_mismatch(float vgr2, float cgr2) override {
    console_.list({"ERROR: v,c=", vgr2, cgr2});
  }

 private:
  shell::Console& console_;
};

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

// Holds a remembered default inside [lo, hi] once it has been entered.
float clamp(float value, float lo, float hi) {
  if (value > hi) value = hi;
  if (value < lo) value = lo;
  return value;
}

void development_table(shell::Console& console, const Inputs& in,
                       const Evaluation& e, physics::Com2& com2,
                       physics::SelfCheck& check) {
  console.list({" "});
  console.list({"          Development over the next hours:"});
  console.list({" Single waves may reach height=Hmax within  ... hrs:"});
  const Development dev = develop(in, e, com2, check);
  console.record("(10X,' hrs=  ',10I6)",
                 {dev.mhrs[0], dev.mhrs[1], dev.mhrs[2]});
  console.record("(10X,' Hmax=   ',10F6.1)",
                 {dev.hem[0], dev.hem[1], dev.hem[2]});
  console.record("(10X,' Seascale=',I3,10I6)",
                 {dev.iseas[0], dev.iseas[1], dev.iseas[2]});
  console.list({" [average number of waves per hour:", dev.nav, " ]"});
}

}  // namespace

void report(shell::Console& console, const Inputs& in) {
  ConsoleCheck check(console);
  physics::Com2 com2{};
  console.list({" ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ "});
  Evaluation e = evaluate(in, in.dura, com2, check);
  // No wave number in this depth and current: the length is marked, after
  // the steepness has been formed from the transform's length.
  if (e.ier > 1) e.wlen2 = 4999.0f;
  const float u = umax(in.g, e.tper2);
  console.list({" Bft:   Wind:    Time:   Fetch:   Depth:  Current:"});
  console.record(
      "(1X,I4,'  ',F5.1,' kt  ',F5.0,'h',F7.0,'km',F7.0,'m',F7.1,' kt')",
      {in.ibft, in.wind, in.dura, in.fetch, in.depth, in.curr});
  console.list({" "});
  console.list({" Characteristic Wave Height Hc, Length Lc, Period Tc:"});
  console.record(
      "('    ==>            Hc=',F4.1,' m, Lc=',F4.0,'m, Tc=',F4.1,' sec ')",
      {e.hs2, e.wlen2, e.tper2});
  console.list({" "});
  console.record("('    [actual steepness=',F6.3,', factor =',F4.1,']:')",
                 {e.stp2, e.ss0});
  console.record(
      "('    [deep water  : Hc=',F4.1,' m, Lc=',F4.0,'m,',' U^=',F5.1,' kt]')",
      {e.hs0, e.wlen0, u});
  console.list({" ===================================================="});
  console.list({"   [Sea Sickness Probability=",
                sea_sickness(e.hs2, e.tper2, in.wind, in.g), " Percent]"});
  const Verdict verdict = warnings(in, e);
  for (int i = 0; i < verdict.count; ++i) console.list({verdict.lines[i]});
  if (verdict.table) development_table(console, in, e, com2, check);
}

void ocean(shell::Console& console) {
  const float g = 9.81f;
  float zwind = 15.0f;
  float zdura = 200.0f;
  float zfetch = 5000.0f;
  float zdepth = 5000.0f;
  float zcurr = 0.0f;
  std::int32_t model = 1;

  introduction(console);
  for (;;) {
    console.list({"~~~ [enter  0   to return to main menu] ~~~"});
    console.list({" "});
    console.list({"Input> Wind-speed in knots, Range:{1,65}="});
    shell::readit(console, zwind);
    float wind = zwind;
    if (wind < -0.5f) model = 0;
    wind = std::fabs(wind);
    if (wind <= 0.01f) break;
    if (wind < 1.0f) wind = 1.0f;
    if (wind > 65.0f) {
      // Winds above 65 knots take off the tops of the waves: compress.
      wind = 65.0f + 10.0f * static_cast<float>(
                                 std::log(static_cast<double>(wind / 65.0f)));
      console.empty();
      console.list({" NOTE: Results for winds above 65 knots are not "});
      console.list({" reliable, as these winds will take off the tops"});
      console.list({" of the waves.        Therefore:"});
      console.list({" Waveheights will be actually LOWER than calculated!"});
      console.empty();
    }
    if (wind > 70.0f) wind = 70.0f;
    zwind = wind;

    console.list({"Input> Duration of wind in hours, Range:{1,200} ="});
    shell::readit(console, zdura);
    zdura = clamp(zdura, 1.0f, 200.0f);
    console.list({"Input> Fetch in  km, Range:{1,5000} ="});
    shell::readit(console, zfetch);
    zfetch = clamp(zfetch, 1.0f, 5000.0f);
    console.list({"Input> Depth of water in meters, Range:{1,5000} ="});
    shell::readit(console, zdepth);
    zdepth = clamp(zdepth, 1.0f, 5000.0f);
    console.list({"Input> Current of water in knots, Range:{-15,15} ="});
    console.list({"       (negative value: current against the wind)"});
    shell::readit(console, zcurr);
    // Entries above 1000 knots are taken for a slip of the keyboard.
    if (zcurr > 1000.0f) zcurr = 0.0f;
    zcurr = clamp(zcurr, -15.0f, 15.0f);

    console.empty(50);
    console.empty(20);
    report(console, Inputs{wind, physics::beaufort(wind), zdura, zfetch, zdepth,
                           zcurr, model, g});

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

}  // namespace windsea

#include "morvelstandrik/report/report.hpp"

#include <initializer_list>

#include "morvelstandrik/shell/records.hpp"

namespace report {
namespace {

// The report shows what the model cannot give as values too wide for their
// fields, which print as asterisks: a height of 9999.99 m, a length of
// 4999 m, an Hmax of 99999 m and a sea scale of 9999999.
constexpr float kNoHeight = 9999.99f;
constexpr float kNoLength = 4999.0f;
constexpr float kNoHmax = 99999.0f;
constexpr std::int32_t kNoSeaScale = 9999999;

void list(std::string& out, std::initializer_list<shell::Item> items) {
  shell::render_list(out, {items.begin(), items.size()});
}

void record(std::string& out, std::string_view tmpl,
            std::initializer_list<shell::Value> values) {
  shell::render_template(out, tmpl, {values.begin(), values.size()});
}

void self_check(std::string& out,
                const std::optional<windsea::GroupVelocityMismatch>& c) {
  if (c) list(out, {"ERROR: v,c=", c->vgr2, c->cgr2});
}

void development(std::string& out, const std::array<windsea::Horizon, 3>& d,
                 std::int32_t waves_per_hour) {
  list(out, {" "});
  list(out, {"          Development over the next hours:"});
  list(out, {" Single waves may reach height=Hmax within  ... hrs:"});
  for (const windsea::Horizon& h : d) self_check(out, h.check);
  auto hmax = [](const windsea::Horizon& h) {
    return h.hmax.value_or(kNoHmax);
  };
  auto scale = [](const windsea::Horizon& h) {
    return h.sea_scale.value_or(kNoSeaScale);
  };
  record(out, "(10X,' hrs=  ',10I6)", {d[0].hours, d[1].hours, d[2].hours});
  record(out, "(10X,' Hmax=   ',10F6.1)", {hmax(d[0]), hmax(d[1]), hmax(d[2])});
  record(out, "(10X,' Seascale=',I3,10I6)",
         {scale(d[0]), scale(d[1]), scale(d[2])});
  list(out, {" [average number of waves per hour:", waves_per_hour, " ]"});
}

}  // namespace

void windsea(std::string& out, const windsea::Report& r) {
  list(out, {" ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ "});
  self_check(out, r.check);
  const float hs2 = r.height.value_or(kNoHeight);
  const float wlen2 = r.length.value_or(kNoLength);
  list(out, {" Bft:   Wind:    Time:   Fetch:   Depth:  Current:"});
  record(out,
         "(1X,I4,'  ',F5.1,' kt  ',F5.0,'h',F7.0,'km',F7.0,'m',F7.1,' kt')",
         {r.beaufort, r.in.wind, r.in.dura, r.in.fetch, r.in.depth, r.in.curr});
  list(out, {" "});
  list(out, {" Characteristic Wave Height Hc, Length Lc, Period Tc:"});
  record(out,
         "('    ==>            Hc=',F4.1,' m, Lc=',F4.0,'m, Tc=',F4.1,' sec ')",
         {hs2, wlen2, r.period});
  list(out, {" "});
  record(out, "('    [actual steepness=',F6.3,', factor =',F4.1,']:')",
         {r.steepness.shown, r.factor.shown});
  record(out,
         "('    [deep water  : Hc=',F4.1,' m, Lc=',F4.0,'m,',' U^=',F5.1,' "
         "kt]')",
         {r.deep.height, r.deep.length, r.stopping_current});
  list(out, {" ===================================================="});
  list(out,
       {"   [Sea Sickness Probability=", r.sea_sickness.shown, " Percent]"});
  for (windsea::Warning w : r.warnings()) list(out, {windsea::text(w)});
  if (r.development) development(out, *r.development, r.waves_per_hour);
}

void swell(std::string& out, const swell::Field& f) {
  record(out, "(' Period of the Swell =',F6.1,' sec,  Height =',F4.1,' m')",
         {f.period, f.height});
  list(out, {});
  list(out, {"   This leads to the following conclusion:"});
  list(out, {});
  switch (f.outcome) {
    case swell::Outcome::kInside:
      list(out, {"The (distant) Wind-Field is characterized by:"});
      list(out, {});
      record(out,
             "(' Windspeed =',F4.0,' kt, Bft=',I3,';   Distance =',F6.0,' "
             "km')",
             {f.wind, f.beaufort, f.distance_shown});
      break;
    case swell::Outcome::kBelow:
    case swell::Outcome::kAbove: {
      // The table's 20 kt row bounds the wind from above and the distance
      // from below; its 50 kt row the other way round.
      const bool below = f.outcome == swell::Outcome::kBelow;
      record(out,
             below ? "(' Windspeed less than =',F4.0,' kt, Bft=',I3)"
                   : "(' Windspeed higher than =',F4.0,' kt, Bft=',I3)",
             {f.wind, f.beaufort});
      list(out, {});
      record(out,
             below ? "(' Distance of Windfield larger than =',F6.0,' km')"
                   : "(' Distance of Windfield less than =',F6.0,' km')",
             {f.distance_shown});
      break;
    }
  }
}

}  // namespace report

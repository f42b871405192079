#include "morvelstandrik/report/report.hpp"

#include <initializer_list>

#include "morvelstandrik/shell/records.hpp"

namespace report {
namespace {

// The report shows what the model cannot give as values too wide for their
// fields, which print as asterisks: a height of 9999.99 m (the steepness,
// factor and sea sickness are formed from it, as the report always has), a
// length of 4999 m, an Hmax of 99999 m and a sea scale of 9999999.
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
  // Formed from the transform's length, before a blocked sea loses it.
  const float stp2 = r.steepness ? *r.steepness : kNoHeight / r.found_length;
  const float ss0 = r.factor ? *r.factor : stp2 / r.deep_steepness;
  const std::int32_t nsick =
      r.sea_sickness ? *r.sea_sickness
                     : windsea::sea_sickness(kNoHeight, r.period, r.in.wind);
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
         {stp2, ss0});
  record(out,
         "('    [deep water  : Hc=',F4.1,' m, Lc=',F4.0,'m,',' U^=',F5.1,' "
         "kt]')",
         {r.deep.height, r.deep.length, r.stopping_current});
  list(out, {" ===================================================="});
  list(out, {"   [Sea Sickness Probability=", nsick, " Percent]"});
  for (windsea::Warning w : r.warnings()) list(out, {warning_text(w)});
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

std::string_view warning_text(windsea::Warning w) {
  using windsea::Warning;
  switch (w) {
    case Warning::kCriticalSeaState:
      return "       >>> Warning: critical sea state ";
    case Warning::kGrounding:
      return "???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !";
    case Warning::kDangerousShoal:
      return "    >> WARNING: dangerous shoal waves !";
    case Warning::kUnpleasantShoal:
      return "    >>  unpleasant shoal waves !";
    case Warning::kBreaking:
      return "    >> WARNING: breaking waves ! ";
    case Warning::kSomeBreaking:
      return "    >> Warning: some breaking waves may appear ! ";
    case Warning::kHazardousBreakers:
      return " >>>>> DANGER: HAZARDOUS BREAKERS  !!!!!! ";
    case Warning::kCapsizing:
      return " >>>###>>> DANGER of CAPSIZING: HAZARDOUS BREAKERS !!!!!!!";
  }
  return "";
}

std::string_view note_text(windsea::Note n) {
  using windsea::Note;
  switch (n) {
    case Note::kWindRaised:
      return "wind below 1 kt: used as 1 kt";
    case Note::kWindCompressed:
      return "winds above 65 kt take the tops off the waves: the wind is "
             "compressed to 65 + 10 ln(wind/65) kt; wave heights will "
             "actually be lower than calculated";
    case Note::kWindCapped:
      return "compressed wind above 70 kt: used as 70 kt";
    case Note::kDurationRaised:
      return "duration below 1 h: used as 1 h";
    case Note::kDurationLowered:
      return "duration above 200 h: used as 200 h";
    case Note::kFetchRaised:
      return "fetch below 1 km: used as 1 km";
    case Note::kFetchLowered:
      return "fetch above 5000 km: used as 5000 km";
    case Note::kDepthRaised:
      return "depth below 1 m: used as 1 m";
    case Note::kDepthLowered:
      return "depth above 5000 m: used as 5000 m";
    case Note::kCurrentIgnored:
      return "current above 1000 kt taken for a slip of the keyboard: used "
             "as 0 kt";
    case Note::kCurrentLowered:
      return "current above 15 kt: used as 15 kt";
    case Note::kCurrentRaised:
      return "current below -15 kt: used as -15 kt";
  }
  return "";
}

}  // namespace report

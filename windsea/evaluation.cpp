#include "morvelstandrik/windsea/evaluation.hpp"

#include <cmath>

#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"

namespace windsea {
namespace {

// Truncates toward zero a value that is known to be finite, after holding
// it inside [lo, hi] so that the conversion cannot overflow. Callers pick
// bounds beyond their own limits, so the result is the same as an
// unbounded truncation followed by those limits.
std::int32_t truncate_within(float v, float lo, float hi) {
  if (!(v >= lo)) v = lo;
  if (v > hi) v = hi;
  return static_cast<std::int32_t>(v);
}

}  // namespace

Evaluation evaluate(const Inputs& in, float d, physics::Com2& com2,
                    physics::SelfCheck& check) {
  Evaluation e{};
  const physics::DeepWater sea = physics::deepw(in.wind, d, in.fetch);
  e.hs0 = sea.hs0;
  e.tper0 = sea.tper0;
  e.wlen0 = sea.wlen0;
  // A current against the wind (negative) raises the wind over the water.
  e.winc = std::fabs(in.wind - in.curr);
  const physics::DeepWater rel = physics::deepw(e.winc, d, in.fetch);
  e.hs0c = rel.hs0;
  e.tper0c = rel.tper0;
  e.wlen0c = rel.wlen0;
  const physics::ShoalResult shoal =
      physics::curwav(in.g, in.depth, in.curr, e.tper0, e.hs0, com2, check);
  e.hs2 = shoal.hs2;
  e.wlen2 = shoal.wlen2;
  e.ier = shoal.ier;
  if (in.model == 0) {
    e.hs2 = e.hs0c;
    e.wlen2 = e.wlen0c;
    e.tper2 = e.tper0c;
  } else {
    e.tper2 = e.tper0;  // the transform keeps the period
  }
  e.stp0 = e.hs0 / e.wlen0;
  e.stp2 = e.hs2 / e.wlen2;
  e.ss0 = e.stp2 / e.stp0;
  return e;
}

float umax(float g, float tper2) {
  return -(g * tper2 / (8.0f * pi)) * 1.9438444f;
}

std::int32_t sea_sickness(float hs2, float tper2, float wind, float g) {
  const float omega = (pi + pi) / tper2;
  float sick =
      static_cast<float>(std::pow(static_cast<double>(omega), 3.0)) * hs2 / g;
  float fcorr = (wind - 30.0f) / 15.0f;
  if (fcorr < 0.0f) fcorr = 0.0f;
  sick = (1.0f + fcorr) * sick;
  if (tper2 < 7.0f) {
    sick = sick *
           static_cast<float>(std::pow(static_cast<double>(tper2 / 7.0f), 2.0));
  }
  const float slim = 0.1f;
  std::int32_t nsick =
      truncate_within((sick - slim) * 100.0f / (0.5f - slim), -1.0f, 91.0f);
  if (nsick < 0) nsick = 0;
  if (nsick > 90) nsick = 90;
  return nsick;
}

Verdict warnings(const Inputs& in, const Evaluation& e) {
  Verdict v;
  auto say = [&v](std::string_view line) { v.lines[v.count++] = line; };
  if (in.wind < 10.0f) {
    if (e.ier > 1) say("       >>> Warning: critical sea state ");
    return v;
  }
  if (in.depth < e.hs2 / 2.0f && e.ier <= 1) {
    // The grounding record holds the single byte 0xF5.
    say("???$#@%\xF5?&%##???  YOU JUST STRUCK FLOUNDER !");
    return v;
  }
  if (e.wlen2 < 1.1f || e.hs2 < 0.5f) {
    v.table = true;
    return v;
  }
  if (in.depth < e.wlen2 * 0.5f) {
    say(e.hs2 > 1.0f ? "    >> WARNING: dangerous shoal waves !"
                     : "    >>  unpleasant shoal waves !");
  }
  if (e.ier == 0 && e.stp2 >= 0.1f) {
    say("    >> WARNING: breaking waves ! ");
  } else if (e.ier == 0 && e.stp2 >= 0.06f) {
    say("    >> Warning: some breaking waves may appear ! ");
  }
  if (e.ier == 1) say(" >>>>> DANGER: HAZARDOUS BREAKERS  !!!!!! ");
  if (e.ier > 1) {
    say(" >>>###>>> DANGER of CAPSIZING: HAZARDOUS BREAKERS !!!!!!!");
    return v;
  }
  v.table = true;
  return v;
}

std::int32_t reduce_count(std::int32_t count) {
  if (count > 10000) count = count / 1000 * 1000;
  if (count > 1000) count = count / 100 * 100;
  if (count > 100) count = count / 10 * 10;
  return count;
}

std::int32_t sea_scale(float hs) {
  const float p = static_cast<float>(
      std::pow(static_cast<double>(hs), static_cast<double>(0.41f)));
  std::int32_t iseas = truncate_within(3.0f * p + 0.2f, 0.0f, 10.0f);
  if (iseas > 9) iseas = 9;
  return iseas;
}

Development develop(const Inputs& in, const Evaluation& report,
                    physics::Com2& com2, physics::SelfCheck& check) {
  Development dev;
  const std::int32_t ieraux = report.ier;
  dev.mhrs = {3, 12, 48};
  // The deep-water period is at least 1 s: at most 3600 waves an hour.
  dev.nav = truncate_within(3600.0f / report.tper0, 0.0f, 3601.0f) / 10 * 10;
  const float durold = in.dura;
  float hsalt = 0.0f;
  float tper0 = report.tper0;  // the period left by the previous evaluation
  for (std::size_t i = 0; i < dev.mhrs.size(); ++i) {
    const float waves = static_cast<float>(dev.mhrs[i] * 3600) / tper0;
    dev.mr[i] = reduce_count(truncate_within(waves, 0.0f, 1e9f));
    // Periods below 1.08 s would put more than 10000 waves into the first
    // horizon; the growth laws never give one, but such a sea is counted
    // as 99999 waves in every horizon.
    if (dev.mr[0] > 10000) dev.mr[i] = 99999;
    if (dev.mr[i] > 99999) dev.mr[i] = 99999;
    const float x = static_cast<float>(dev.mr[i]);

    const Evaluation e =
        evaluate(in, static_cast<float>(dev.mhrs[i]) + durold, com2, check);
    tper0 = e.tper0;

    // The characteristic height never falls from one horizon to the next;
    // above 40 m the model has nothing sensible to say.
    float hs = e.hs2;
    if (hs > 40.0f) hs = 999999.0f;
    if (hs < hsalt) hs = hsalt;
    hsalt = hs;
    dev.hec[i] = hs;

    // Rayleigh estimate of the largest of x waves: hs * sqrt(ln x / 2).
    const float lnx = static_cast<float>(std::log(static_cast<double>(x)));
    const float root = static_cast<float>(std::sqrt(static_cast<double>(lnx)));
    const float sqrt2 = static_cast<float>(std::sqrt(2.0));
    float hmax = hs * root / sqrt2;
    if (hmax < hs) hmax = hs;
    if (hmax > 30.0f) hmax = 30.0f;
    if (hmax > 2.0f * com2.depthc) hmax = 2.0f * com2.depthc;
    dev.hem[i] = hmax;
    dev.iseas[i] = sea_scale(dev.hec[i]);
    if (ieraux > 1) {
      // No wave number in the given depth and current: mark as invalid.
      dev.hem[i] = 99999.0f;
      dev.iseas[i] = 9999999;
    }
  }
  return dev;
}

}  // namespace windsea

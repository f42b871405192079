#include "morvelstandrik/windsea/engine.hpp"

#include <cmath>
#include <cstring>

#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/physics/com2.hpp"
#include "morvelstandrik/physics/curwav.hpp"
#include "morvelstandrik/physics/deepw.hpp"
#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/heicor.hpp"

namespace windsea {
namespace {

using physics::pi;

// Stopping current: a quarter of the deep-water phase speed g T / (2 pi),
// converted from m/s to knots with 3600/1852.
constexpr float kMsToKnots = 1.9438444f;

// Sea sickness: the vertical acceleration measure (2 pi / T)^3 H / g, raised
// by a fifteenth for every knot of wind above 30 and lowered for periods
// below 7 s by (T / 7)^2, then mapped from [kSickFloor, kSickCeiling] onto
// 0 .. 100 percent and held at most at kSickMaxPercent.
constexpr float kSickWindFree = 30.0f;    // kt
constexpr float kSickWindScale = 15.0f;   // kt
constexpr float kSickShortPeriod = 7.0f;  // s
constexpr float kSickFloor = 0.1f;        // slim
constexpr float kSickCeiling = 0.5f;
constexpr std::int32_t kSickMaxPercent = 90;

// Warnings.
constexpr float kLightWind = 10.0f;      // kt: no warnings below
constexpr float kShortestWarned = 1.1f;  // m of length
constexpr float kLowestWarned = 0.5f;    // m of height
constexpr float kDangerousShoal = 1.0f;  // m of height
constexpr float kBreakingSteepness = 0.1f;
constexpr float kSomeBreakingSteepness = 0.06f;
constexpr float kBlockedLength = 4999.0f;  // m, see warnings()

// Development over the next hours.
constexpr std::array<std::int32_t, 3> kHorizons = {3, 12, 48};  // h
constexpr float kHighestHeight = 40.0f;  // m: no sensible sea above
// The height a horizon above kHighestHeight carries into Hmax and the sea
// scale: far above their limits.
constexpr float kBeyondHeight = 999999.0f;
constexpr std::int32_t kCountOverflow = 10000;  // waves in the first horizon
constexpr std::int32_t kCountMarked = 99999;    // waves when it overflows
constexpr float kHmaxCap = 30.0f;               // m
constexpr float kSeaScaleExponent = 0.41f;

// Truncates toward zero a value that is known to be finite, after holding
// it inside [lo, hi] so that the conversion cannot overflow. Callers pick
// bounds beyond their own limits, so the result is the same as an
// unbounded truncation followed by those limits.
std::int32_t truncate_within(float v, float lo, float hi) {
  if (!(v >= lo)) v = lo;
  if (v > hi) v = hi;
  return static_cast<std::int32_t>(v);
}

// Collects the self-check record of the height correction.
class KeepCheck final : public physics::SelfCheck {
 public:
  void group_velocity_mismatch(float vgr2, float cgr2) override {
    raised = GroupVelocityMismatch{vgr2, cgr2};
  }
  std::optional<GroupVelocityMismatch> raised;
};

// One evaluation step, as the kernels give it: ier and heights with the
// transform's no-height value.
struct Step {
  physics::DeepWater sea;  // raised by the wind
  physics::DeepWater rel;  // raised by the relative wind (in that model)
  physics::ShoalResult shoal;
  float hs2, wlen2, tper2;
  std::int32_t ier;
  float stp0, stp2, ss0;
  float depthc;  // the depth field of the record after the transform
  std::optional<GroupVelocityMismatch> check;
};

// The bits of a float (the WebAssembly build's C++ library has no
// std::bit_cast).
std::uint32_t bits(float v) {
  std::uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b;
}

bool same_sea(const physics::DeepWater& a, const physics::DeepWater& b) {
  return bits(a.hs0) == bits(b.hs0) && bits(a.tper0) == bits(b.tper0);
}

// The step of the conditions after the wind has blown d hours. The step
// before, of the same conditions, may be given: where the wind has raised
// the very same deep-water sea (the fetch stopped its growth), its
// transform is taken over instead of worked out again. That gives the same
// bits: curwav is a function of its arguments alone (gravity, the depth and
// the current, which are the same conditions', and the sea's period and
// height, bit for bit the same): it writes every field of the record before
// reading it and keeps nothing between calls, and the self-check reports
// only what it computes from those arguments.
Step step(const Conditions& in, float d, const Step* before = nullptr) {
  Step s{};
  s.sea = physics::deepw(in.wind, d, in.fetch);
  if (before && same_sea(before->sea, s.sea)) {
    s.shoal = before->shoal;
    s.depthc = before->depthc;
    s.check = before->check;
  } else {
    physics::Com2 com2{};
    KeepCheck check;
    s.shoal = physics::curwav(gravity, in.depth, in.curr, s.sea.tper0,
                              s.sea.hs0, com2, check);
    s.check = check.raised;
    s.depthc = com2.depthc;
  }
  s.ier = s.shoal.ier;
  if (in.model == Model::kRelativeWind) {
    // A current against the wind (negative) raises the wind over the water.
    const float winc = std::fabs(in.wind - in.curr);
    s.rel = physics::deepw(winc, d, in.fetch);
    s.hs2 = s.rel.hs0;
    s.wlen2 = s.rel.wlen0;
    s.tper2 = s.rel.tper0;
  } else {
    s.hs2 = s.shoal.hs2;
    s.wlen2 = s.shoal.wlen2;
    s.tper2 = s.sea.tper0;  // the transform keeps the period
  }
  s.stp0 = s.sea.hs0 / s.sea.wlen0;
  s.stp2 = s.hs2 / s.wlen2;
  s.ss0 = s.stp2 / s.stp0;
  return s;
}

void develop(const Conditions& in, const Step& report, Report& r) {
  std::array<Horizon, 3>& dev = *r.development;  // engaged by the caller
  const std::int32_t ieraux = report.ier;
  const float durold = in.dura;
  float hsalt = 0.0f;
  float tper0 = report.sea.tper0;  // the period left by the previous step
  std::int32_t first_count = 0;
  Step s = report;
  for (std::size_t i = 0; i < kHorizons.size(); ++i) {
    Horizon& h = dev[i];
    h.hours = kHorizons[i];
    const float waves = static_cast<float>(h.hours * 3600) / tper0;
    std::int32_t mr = reduce_count(truncate_within(waves, 0.0f, 1e9f));
    if (i == 0) first_count = mr;
    // With the deep-water period at least 1 s the first horizon counts at
    // most 10800 waves, which the rounding above brings to 10000: this rule
    // is kept for the record but does not fire.
    if (first_count > kCountOverflow) mr = kCountMarked;
    if (mr > kCountMarked) mr = kCountMarked;
    h.waves = mr;
    const float x = static_cast<float>(mr);

    s = step(in, static_cast<float>(h.hours) + durold, &s);
    tper0 = s.sea.tper0;
    h.check = s.check;

    // The characteristic height never falls from one horizon to the next.
    float hs = s.hs2;
    if (hs > kHighestHeight) hs = kBeyondHeight;
    if (hs < hsalt) hs = hsalt;
    hsalt = hs;
    if (hs != kBeyondHeight) h.height = hs;

    // Rayleigh estimate of the largest of x waves: hs * sqrt(ln x / 2). With
    // at least 500 waves in a horizon (periods stay far below 20 s) the
    // factor is above 1.7, so Hmax is never below hs.
    const float lnx = static_cast<float>(std::log(static_cast<double>(x)));
    const float root = physics::dsqrt(lnx);
    const float sqrt2 = static_cast<float>(std::sqrt(2.0));
    float hmax = hs * root / sqrt2;
    if (hmax > kHmaxCap) hmax = kHmaxCap;
    if (hmax > 2.0f * s.depthc) hmax = 2.0f * s.depthc;
    // Without a wave number in the report's sea the table has no values.
    if (ieraux <= 1) {
      h.hmax = hmax;
      h.sea_scale = sea_scale(hs);
    }
  }
}

}  // namespace

float umax(float tper2) {
  return -(gravity * tper2 / (8.0f * pi)) * kMsToKnots;
}

std::int32_t sea_sickness(float hs2, float tper2, float wind) {
  const float omega = (pi + pi) / tper2;
  float sick = static_cast<float>(std::pow(static_cast<double>(omega), 3.0)) *
               hs2 / gravity;
  float fcorr = (wind - kSickWindFree) / kSickWindScale;
  if (fcorr < 0.0f) fcorr = 0.0f;
  sick = (1.0f + fcorr) * sick;
  if (tper2 < kSickShortPeriod) {
    sick = sick * static_cast<float>(std::pow(
                      static_cast<double>(tper2 / kSickShortPeriod), 2.0));
  }
  const float slim = kSickFloor;
  std::int32_t nsick = truncate_within(
      (sick - slim) * 100.0f / (kSickCeiling - slim), -1.0f, 91.0f);
  if (nsick < 0) nsick = 0;
  if (nsick > kSickMaxPercent) nsick = kSickMaxPercent;
  return nsick;
}

std::int32_t reduce_count(std::int32_t count) {
  if (count > 10000) count = count / 1000 * 1000;
  if (count > 1000) count = count / 100 * 100;
  if (count > 100) count = count / 10 * 10;
  return count;
}

std::int32_t sea_scale(float hs) {
  const float p = static_cast<float>(std::pow(
      static_cast<double>(hs), static_cast<double>(kSeaScaleExponent)));
  std::int32_t iseas = truncate_within(3.0f * p + 0.2f, 0.0f, 10.0f);
  if (iseas > 9) iseas = 9;
  return iseas;
}

Report evaluate(const Conditions& in) {
  const Step s = step(in, in.dura);
  Report r{};
  r.in = in;
  r.beaufort = physics::beaufort(in.wind);
  r.deep = {s.sea.hs0, s.sea.tper0, s.sea.wlen0};
  const physics::DeepWater& own =
      in.model == Model::kRelativeWind ? s.rel : s.sea;
  // The smaller saturated height is the sea's; the duration's on a tie.
  r.limited_by = own.hf < own.ht ? GrowthLimit::kFetch : GrowthLimit::kDuration;
  r.fully_developed_height = own.hsinf;
  r.status = s.ier == 0   ? Status::kRegular
             : s.ier == 1 ? Status::kBreaking
                          : Status::kBlocked;
  r.period = s.tper2;
  // Without a height the steepness, the factor and the sea sickness are
  // formed from the transform's no-height value, as the report prints them.
  const bool known = s.hs2 != physics::no_height;
  if (known) r.height = s.hs2;
  r.steepness = {s.stp2, known};
  r.factor = {s.ss0, known};
  r.sea_sickness = {sea_sickness(s.hs2, s.tper2, in.wind), known};
  if (r.status != Status::kBlocked) r.length = s.wlen2;
  r.stopping_current = umax(s.tper2);
  // 3600 s over the deep-water period (at least 1 s), to tens.
  r.waves_per_hour =
      truncate_within(3600.0f / s.sea.tper0, 0.0f, 3601.0f) / 10 * 10;
  r.check = s.check;
  const Verdict v = warnings(in.wind, in.depth, s.hs2, s.wlen2, s.stp2, s.ier);
  r.warning_list = v.list;
  r.warning_count = v.count;
  if (v.table) {
    r.development.emplace();
    develop(in, s, r);
  }
  return r;
}

Verdict warnings(float wind, float depth, float hs2, float wlen2, float stp2,
                 std::int32_t ier) {
  Verdict v;
  auto say = [&v](Warning w) { v.list[v.count++] = w; };
  const bool blocked = ier > 1;
  if (blocked) wlen2 = kBlockedLength;
  if (wind < kLightWind) {
    if (blocked) say(Warning::kCriticalSeaState);
    return v;
  }
  // A height the transform cannot give counts as a height here: it grounds
  // in any water shallower than 4999.995 m.
  if (depth < hs2 / 2.0f && !blocked) {
    say(Warning::kGrounding);
    return v;
  }
  v.table = true;
  if (wlen2 < kShortestWarned || hs2 < kLowestWarned) return v;
  if (depth < wlen2 * 0.5f) {
    say(hs2 > kDangerousShoal ? Warning::kDangerousShoal
                              : Warning::kUnpleasantShoal);
  }
  if (ier == 0 && stp2 >= kBreakingSteepness) {
    say(Warning::kBreaking);
  } else if (ier == 0 && stp2 >= kSomeBreakingSteepness) {
    say(Warning::kSomeBreaking);
  }
  if (ier == 1) say(Warning::kHazardousBreakers);
  if (blocked) {
    say(Warning::kCapsizing);
    v.table = false;
  }
  return v;
}

}  // namespace windsea

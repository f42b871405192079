// Uses the installed wave-physics and swell kernels and the wind-sea and
// swell engines without any console code of the program: the wind sea of
// 20 kt over 10 h and 100 km carried into 10 m of water, and the wind field
// behind a 10 s, 3 m swell.
#include <cstdio>
#include <string_view>

#include <morvelstandrik/physics/curwav.hpp>
#include <morvelstandrik/physics/deepw.hpp>
#include <morvelstandrik/physics/wvnum.hpp>
#include <morvelstandrik/swell/decay_table.hpp>
#include <morvelstandrik/swell/engine.hpp>
#include <morvelstandrik/windsea/engine.hpp>

namespace {

// The height correction's self-check would be printed by the program; a
// caller may simply count it.
class CountingCheck final : public physics::SelfCheck {
 public:
  void group_velocity_mismatch(float, float) override { ++count; }
  int count = 0;
};

// Counts the numbers of a result and those that have a value.
class FieldCount final : public fields::FieldVisitor {
 public:
  void number(std::string_view, std::string_view,
              std::optional<float> v) override {
    ++fields;
    values += v.has_value();
  }
  void integer(std::string_view, std::string_view,
               std::optional<std::int32_t> v) override {
    ++fields;
    values += v.has_value();
  }
  void choice(std::string_view, std::span<const fields::Coded>,
              std::size_t) override {}
  void flags(std::string_view, std::span<const fields::Coded>,
             std::uint32_t) override {}
  void begin(std::string_view) override {}
  void end() override {}
  void begin_list(std::string_view, bool) override {}
  void end_list() override {}
  int fields = 0, values = 0;
};

}  // namespace

int main() {
  const physics::DeepWater sea = physics::deepw(20.0f, 10.0f, 100.0f);
  physics::Com2 com2{};
  const physics::WaveNumber deep =
      physics::wvnum(9.81f, sea.tper0, 0.0f, 5000.0f, com2);
  CountingCheck check;
  const physics::ShoalResult shoal =
      physics::curwav(9.81f, 10.0f, 0.0f, sea.tper0, sea.hs0, com2, check);
  const swell::Inversion field = swell::swelld(10.0f, 3.0f);
  std::printf("deep water: Hs %.2f m, T %.2f s, L %.1f m, k %.4f rad/m\n",
              static_cast<double>(sea.hs0), static_cast<double>(sea.tper0),
              static_cast<double>(sea.wlen0), static_cast<double>(deep.ak));
  std::printf("in 10 m: Hs %.2f m, L %.1f m, status %d\n",
              static_cast<double>(shoal.hs2), static_cast<double>(shoal.wlen2),
              shoal.ier);
  std::printf("swell 10 s, 3 m: wind %.1f kt, distance %.0f km, outcome %d\n",
              static_cast<double>(field.wind), static_cast<double>(field.dist),
              field.ier);
  // The same through the engines, with the whole report's numbers.
  const windsea::Report report =
      windsea::evaluate({20.0f, 10.0f, 100.0f, 10.0f, 0.0f});
  if (!report.height || !report.length || !report.sea_sickness.known) {
    return 1;
  }
  std::printf(
      "engine: Hc %.2f m, Lc %.1f m, Tc %.2f s, sea sickness %d %%, "
      "%d waves per hour\n",
      static_cast<double>(*report.height), static_cast<double>(*report.length),
      static_cast<double>(report.period), report.sea_sickness.shown,
      report.waves_per_hour);
  // Every field of the report, by the names the program's JSON gives them.
  FieldCount count;
  windsea::walk(count, report);
  std::printf("engine: %d fields, %d with a value\n", count.fields,
              count.values);
  const swell::Field wind_field = swell::infer(10.0f, 3.0f);
  const std::string_view outcome = swell::code(wind_field.outcome);
  std::printf("engine: swell 10 s, 3 m: %.*s, Bft %d, shown %.0f km\n",
              static_cast<int>(outcome.size()), outcome.data(),
              wind_field.beaufort,
              static_cast<double>(wind_field.distance_shown));
  return check.count == 0 ? 0 : 1;
}

// The console layer's share of a whole session: the same wind-sea cycles
// and swell passes, once as plain evaluations and once through the menu
// with console reading, formatting and writing (output discarded).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "morvelstandrik/bench/session.hpp"
#include "morvelstandrik/physics/beaufort.hpp"
#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/menu.hpp"
#include "morvelstandrik/shell/streams.hpp"
#include "morvelstandrik/swell/distance.hpp"
#include "morvelstandrik/swell/swell.hpp"
#include "morvelstandrik/swell/swelld.hpp"
#include "morvelstandrik/windsea/evaluation.hpp"
#include "morvelstandrik/windsea/ocean.hpp"

namespace {

constexpr int kCycles = 100;
constexpr int kPasses = 100;

class NoCheck final : public physics::SelfCheck {
 public:
  void group_velocity_mismatch(float, float) override {}
};

class Discard final : public shell::ByteSink {
 public:
  void write(std::string_view bytes) override { written += bytes.size(); }
  std::size_t written = 0;
};

// Everything a wind-sea cycle and a swell pass compute, without the console.
void BM_EvaluationsOnly(benchmark::State& state) {
  NoCheck check;
  for (auto _ : state) {
    for (int k = 0; k < kCycles; ++k) {
      const bench::WindSeaCase c = bench::wind_sea_case(k);
      const auto wind = static_cast<float>(c.wind);
      const windsea::Inputs in{wind,
                               physics::beaufort(wind),
                               static_cast<float>(c.dura),
                               static_cast<float>(c.fetch),
                               static_cast<float>(c.depth),
                               static_cast<float>(c.curr),
                               1,
                               9.81f};
      physics::Com2 com2{};
      windsea::Evaluation e = windsea::evaluate(in, in.dura, com2, check);
      if (e.ier > 1) e.wlen2 = 4999.0f;
      benchmark::DoNotOptimize(windsea::umax(in.g, e.tper2));
      benchmark::DoNotOptimize(
          windsea::sea_sickness(e.hs2, e.tper2, in.wind, in.g));
      if (windsea::warnings(in, e).table) {
        benchmark::DoNotOptimize(windsea::develop(in, e, com2, check));
      }
    }
    for (int k = 0; k < kPasses; ++k) {
      const bench::SwellCase c = bench::swell_case(k);
      const swell::Inversion field = swell::swelld(c.period, c.height);
      benchmark::DoNotOptimize(physics::beaufort(field.wind));
      benchmark::DoNotOptimize(swell::round_distance(field.dist));
    }
  }
  state.SetItemsProcessed(state.iterations() * (kCycles + kPasses));
}
BENCHMARK(BM_EvaluationsOnly)->Unit(benchmark::kMillisecond);

// The same session typed into the program.
void BM_WholeSession(benchmark::State& state) {
  const std::string input = bench::session(kCycles, kPasses);
  for (auto _ : state) {
    shell::MemorySource in(input);
    Discard out, err;
    shell::Console console(in, out, err);
    shell::main_menu(console, windsea::ocean, swell::swell);
    benchmark::DoNotOptimize(out.written);
  }
  state.SetItemsProcessed(state.iterations() * (kCycles + kPasses));
}
BENCHMARK(BM_WholeSession)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

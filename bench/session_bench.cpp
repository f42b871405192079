// The console layer's share of a whole session: the same wind-sea cycles
// and swell passes, once as plain evaluations and once through the menu
// with console reading, formatting and writing (output discarded).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "morvelstandrik/bench/session.hpp"
#include "morvelstandrik/dialogue/menu.hpp"
#include "morvelstandrik/dialogue/swell.hpp"
#include "morvelstandrik/dialogue/windsea.hpp"
#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/streams.hpp"
#include "morvelstandrik/swell/engine.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace {

constexpr int kCycles = 100;
constexpr int kPasses = 100;

class Discard final : public shell::ByteSink {
 public:
  void write(std::string_view bytes) override { written += bytes.size(); }
  std::size_t written = 0;
};

// Everything a wind-sea cycle and a swell pass compute, without the console.
void BM_EvaluationsOnly(benchmark::State& state) {
  for (auto _ : state) {
    for (int k = 0; k < kCycles; ++k) {
      const bench::WindSeaCase c = bench::wind_sea_case(k);
      const windsea::Conditions in{
          static_cast<float>(c.wind), static_cast<float>(c.dura),
          static_cast<float>(c.fetch), static_cast<float>(c.depth),
          static_cast<float>(c.curr)};
      benchmark::DoNotOptimize(windsea::evaluate(in));
    }
    for (int k = 0; k < kPasses; ++k) {
      const bench::SwellCase c = bench::swell_case(k);
      benchmark::DoNotOptimize(swell::infer(c.period, c.height));
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
    dialogue::main_menu(console, dialogue::ocean, dialogue::swell);
    benchmark::DoNotOptimize(out.written);
  }
  state.SetItemsProcessed(state.iterations() * (kCycles + kPasses));
}
BENCHMARK(BM_WholeSession)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

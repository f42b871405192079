// The command line's batch against the dialogue on the same wind-sea cases,
// every one with its development table: rows per second, in one process,
// output discarded. The cases are the scripted session's, keeping those
// whose report has the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/bench/session.hpp"
#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/dialogue/menu.hpp"
#include "morvelstandrik/dialogue/swell.hpp"
#include "morvelstandrik/dialogue/windsea.hpp"
#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace {

constexpr int kRows = 200;

class Discard final : public shell::ByteSink {
 public:
  void write(std::string_view bytes) override { written += bytes.size(); }
  std::size_t written = 0;
};

std::vector<bench::WindSeaCase> cases_with_table() {
  std::vector<bench::WindSeaCase> cases;
  for (int k = 0; static_cast<int>(cases.size()) < kRows; ++k) {
    const bench::WindSeaCase c = bench::wind_sea_case(k);
    const windsea::Report r = windsea::evaluate(
        {static_cast<float>(c.wind), static_cast<float>(c.dura),
         static_cast<float>(c.fetch), static_cast<float>(c.depth),
         static_cast<float>(c.curr)});
    if (r.development) cases.push_back(c);
  }
  return cases;
}

// The cases one after another, each written with a format of five %d.
std::string cases_as(const char* format, std::string head, const char* tail) {
  char line[96];
  for (const bench::WindSeaCase& c : cases_with_table()) {
    std::snprintf(line, sizeof line, format, c.wind, c.dura, c.fetch, c.depth,
                  c.curr);
    head += line;
  }
  return head + tail;
}

void BM_Batch(benchmark::State& state) {
  const std::string csv =
      cases_as("%d,%d,%d,%d,%d\n",
               "wind_kt,duration_h,fetch_km,depth_m,current_kt\n", "");
  const std::string_view args[] = {"windsea", "--batch", "-"};
  for (auto _ : state) {
    shell::MemorySource in(csv);
    Discard out, err;
    if (cli::run(args, in, out, err) != 0) state.SkipWithError("bad rows");
    benchmark::DoNotOptimize(out.written);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Batch)->Unit(benchmark::kMillisecond);

void BM_Dialogue(benchmark::State& state) {
  const std::string session =
      cases_as("%d\n%d\n%d\n%d\n%d\n\n", "1\n\n", "0\n0\n");
  for (auto _ : state) {
    shell::MemorySource in(session);
    Discard out, err;
    shell::Console console(in, out, err);
    dialogue::main_menu(console, dialogue::ocean, dialogue::swell);
    benchmark::DoNotOptimize(out.written);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Dialogue)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// Writes the scripted benchmark session to standard output:
// bench_session_input CYCLES PASSES
#include <cstdio>
#include <cstdlib>
#include <string>

#include "morvelstandrik/bench/session.hpp"

int main(int argc, char** argv) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  const int passes = argc > 2 ? std::atoi(argv[2]) : 1000;
  const std::string text = bench::session(cycles, passes);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

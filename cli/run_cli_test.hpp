// The command line run in the test's own process, on an input held in
// memory (served in pieces of `piece` bytes; 0: at once).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"

namespace cli::testing {

struct Outcome {
  int status;
  std::string out, err;
};

inline Outcome run_cli(std::vector<std::string> args,
                       const std::string& input = "", std::size_t piece = 0) {
  const std::vector<std::string_view> views(args.begin(), args.end());
  shell::MemorySource in(input, piece);
  shell::StringSink out, err;
  const int status = run(views, in, out, err);
  return {status, out.text, err.text};
}

}  // namespace cli::testing

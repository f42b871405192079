// Fuzz target: the whole program, menu and both calculations, fed arbitrary
// bytes as standard input. It must end either at menu choice 0 or with a
// read diagnostic; no crash, no undefined behaviour, no hang. The output
// must never hold a NaN: every value printed comes from finite input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "morvelstandrik/dialogue/menu.hpp"
#include "morvelstandrik/dialogue/swell.hpp"
#include "morvelstandrik/dialogue/windsea.hpp"
#include "morvelstandrik/shell/test_session.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  shell::testing::Session s(
      std::string_view(reinterpret_cast<const char*>(data), size));
  const std::string diagnosis = s.run([&] {
    dialogue::main_menu(s.console, dialogue::ocean, dialogue::swell);
  });
  const std::string& out = s.out.text;
  const std::string_view end = "  ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~\n";
  const bool ended_at_menu =
      out.size() >= end.size() &&
      std::string_view(out).substr(out.size() - end.size()) == end;
  if (diagnosis.empty() != ended_at_menu) std::abort();
  // A real that is not a number would print as NaN. The echo of a number
  // entry (the line after each prompt) repeats what was typed and may hold
  // any text, so it is left out.
  bool echo = false;
  for (std::size_t at = 0; at < out.size();) {
    const std::size_t end_of_line = std::min(out.find('\n', at), out.size());
    const std::string_view line(out.data() + at, end_of_line - at);
    if (!echo && line.find("NaN") != std::string_view::npos) std::abort();
    echo = line.ends_with("Input=");
    at = end_of_line + 1;
  }
  return 0;
}

// morvelstandrik: sea-state estimates for sailors. Without arguments the
// console dialogue; with arguments the command line.
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/dialogue/menu.hpp"
#include "morvelstandrik/dialogue/swell.hpp"
#include "morvelstandrik/dialogue/windsea.hpp"
#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/platform.hpp"
#include "morvelstandrik/shell/signals.hpp"

namespace {

#if defined(__EMSCRIPTEN__) || defined(_WIN32)
// Under Node, abort() prints the whole script with a stack trace and ends
// with status 7; on Windows it may open the error-reporting dialog and ends
// with status 3. End after the diagnostic as an abort does on Linux (128 +
// SIGABRT, as the shell reports it), with nothing more on standard error.
[[noreturn]] void end_as_abort() {
  std::_Exit(134);
}
constexpr shell::FatalHook kFatalHook = end_as_abort;
#else
constexpr shell::FatalHook kFatalHook = nullptr;
#endif

}  // namespace

int main(int argc, char** argv) {
  shell::install_stop_handlers();
  shell::use_binary_streams();
  shell::FdSource in(STDIN_FILENO);
  shell::StandardOutput out;
  shell::FdSink err(STDERR_FILENO);
  if (argc > 1) {
    const std::vector<std::string> texts = shell::program_arguments(argc, argv);
    const std::vector<std::string_view> args(texts.begin(), texts.end());
    return cli::run(args, in, out, err);
  }
  shell::Console console(in, out, err, kFatalHook);
  dialogue::main_menu(console, dialogue::ocean, dialogue::swell);
  return 0;
}

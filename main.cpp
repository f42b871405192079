// morvelstandrik: sea-state estimates for sailors at the console.
#include <unistd.h>

#include <cstdlib>

#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/menu.hpp"
#include "morvelstandrik/shell/signals.hpp"
#include "morvelstandrik/swell/swell.hpp"
#include "morvelstandrik/windsea/ocean.hpp"

namespace {

#ifdef __EMSCRIPTEN__
// Under Node, abort() prints the whole script with a stack trace and ends
// with status 7. End after the diagnostic as an abort does natively (128 +
// SIGABRT), with nothing more on standard error.
[[noreturn]] void end_as_abort() {
  std::_Exit(134);
}
constexpr shell::FatalHook kFatalHook = end_as_abort;
#else
constexpr shell::FatalHook kFatalHook = nullptr;
#endif

}  // namespace

int main() {
  shell::install_stop_handlers();
  shell::FdSource in(STDIN_FILENO);
  shell::StandardOutput out;
  shell::FdSink err(STDERR_FILENO);
  shell::Console console(in, out, err, kFatalHook);
  shell::main_menu(console, windsea::ocean, swell::swell);
  return 0;
}

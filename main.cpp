// morvelstandrik: sea-state estimates for sailors at the console.
#include <unistd.h>

#include "shell/console.hpp"
#include "shell/menu.hpp"
#include "shell/signals.hpp"
#include "swell/swell.hpp"

namespace {
// The wind-sea calculation comes back to the menu at once until it is built.
void not_yet(shell::Console&) {}
}  // namespace

int main() {
  shell::install_stop_handlers();
  shell::FdSource in(STDIN_FILENO);
  shell::FdSink out(STDOUT_FILENO);
  shell::FdSink err(STDERR_FILENO);
  shell::Console console(in, out, err);
  shell::main_menu(console, not_yet, swell::swell);
  return 0;
}

// morvelstandrik: sea-state estimates for sailors at the console.
#include <unistd.h>

#include "shell/console.hpp"
#include "shell/menu.hpp"
#include "shell/signals.hpp"

namespace {
// The calculations come back to the menu at once until they are built.
void not_yet(shell::Console&) {}
}  // namespace

int main() {
  shell::install_stop_handlers();
  shell::FdSource in(STDIN_FILENO);
  shell::FdSink out(STDOUT_FILENO);
  shell::FdSink err(STDERR_FILENO);
  shell::Console console(in, out, err);
  shell::main_menu(console, not_yet, not_yet);
  return 0;
}

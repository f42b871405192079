// morvelstandrik: sea-state estimates for sailors at the console.
#include <unistd.h>

#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/menu.hpp"
#include "morvelstandrik/shell/signals.hpp"
#include "morvelstandrik/swell/swell.hpp"
#include "morvelstandrik/windsea/ocean.hpp"

int main() {
  shell::install_stop_handlers();
  shell::FdSource in(STDIN_FILENO);
  shell::StandardOutput out;
  shell::FdSink err(STDERR_FILENO);
  shell::Console console(in, out, err);
  shell::main_menu(console, windsea::ocean, swell::swell);
  return 0;
}

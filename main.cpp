// morvelstandrik: sea-state estimates for sailors. Without arguments the
// console dialogue; with arguments the command line.
#include <unistd.h>

#include <string_view>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/menu.hpp"
#include "morvelstandrik/shell/signals.hpp"
#include "morvelstandrik/swell/swell.hpp"
#include "morvelstandrik/windsea/ocean.hpp"

int main(int argc, char** argv) {
  shell::install_stop_handlers();
  shell::FdSource in(STDIN_FILENO);
  shell::StandardOutput out;
  shell::FdSink err(STDERR_FILENO);
  if (argc > 1) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    return cli::run(args, in, out, err);
  }
  shell::Console console(in, out, err);
  shell::main_menu(console, windsea::ocean, swell::swell);
  return 0;
}

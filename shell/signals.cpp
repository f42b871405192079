#include "morvelstandrik/shell/signals.hpp"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace shell {
namespace {

void say_and_exit(const char* notice, unsigned long length) {
  // Nothing but write() and _exit(): the request may arrive in the middle
  // of any output or read.
  ssize_t put;
  do {
    put = ::write(STDERR_FILENO, notice, length);
  } while (put < 0 && errno == EINTR);
  ::_exit(1);
}

void on_interrupt(int) {
  static const char kNotice[] = "Interrupt\n";
  say_and_exit(kNotice, sizeof kNotice - 1);
}

void on_termination(int) {
  static const char kNotice[] = "Killed\n";
  say_and_exit(kNotice, sizeof kNotice - 1);
}

void install(int signal_number, void (*handler)(int)) {
  struct sigaction action = {};
  action.sa_handler = handler;
  sigfillset(&action.sa_mask);
  ::sigaction(signal_number, &action, nullptr);
}

}  // namespace

void install_stop_handlers() {
  install(SIGINT, on_interrupt);
  install(SIGTERM, on_termination);
}

}  // namespace shell

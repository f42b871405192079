#include "morvelstandrik/shell/signals.hpp"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace shell {
namespace {

#ifdef _WIN32

void say_and_exit(const char* notice, unsigned long length) {
  DWORD put = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), notice, length, &put, nullptr);
  ExitProcess(1);
}

// Runs on a thread of its own that Windows starts for the event.
BOOL WINAPI on_console_event(DWORD event) {
  static const char kInterrupt[] = "Interrupt\n";
  static const char kKilled[] = "Killed\n";
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      say_and_exit(kInterrupt, sizeof kInterrupt - 1);
      break;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
      say_and_exit(kKilled, sizeof kKilled - 1);
      break;
    default:
      break;
  }
  return FALSE;
}

#else

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

#endif

}  // namespace

void install_stop_handlers() {
#ifdef _WIN32
  SetConsoleCtrlHandler(on_console_event, TRUE);
  // No error-reporting dialog: a run that fails ends with its status and
  // what it wrote on standard error, also when nobody sits at the screen.
  // (A mistyped entry does not abort on Windows: see main.cpp.)
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
#else
  install(SIGINT, on_interrupt);
  install(SIGTERM, on_termination);
#endif
}

}  // namespace shell

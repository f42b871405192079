// Interrupt and termination requests.
#pragma once

namespace shell {

// On an interrupt (Ctrl-C) writes "Interrupt", on a termination request
// "Killed", and a newline to standard error, then ends the program at once
// with exit status 1. The handlers only use async-signal-safe calls. On
// Windows, Ctrl-C and Ctrl-Break are the interrupt, closing the console
// window, logging off and shutting down the termination request; the
// error-reporting dialog is switched off for the run.
void install_stop_handlers();

}  // namespace shell

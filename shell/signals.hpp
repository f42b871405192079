// Interrupt and termination requests.
#pragma once

namespace shell {

// On an interrupt (Ctrl-C) writes "Interrupt", on a termination request
// "Killed", and a newline to standard error, then ends the program at once
// with exit status 1. The handlers only use async-signal-safe calls.
void install_stop_handlers();

}  // namespace shell

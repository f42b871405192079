// The command line: one-shot and batch use of the wind-sea and swell
// engines, with text, JSON and CSV output.
//   morvelstandrik windsea WIND DURATION FETCH DEPTH [CURRENT] [--relative]
//                          [--format text|json]
//   morvelstandrik swell PERIOD HEIGHT [--format text|json]
//   morvelstandrik windsea|swell --batch FILE [--format csv|json]
//   morvelstandrik --help | --version
#pragma once

#include <span>
#include <string_view>

#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// Exit statuses.
inline constexpr int kOk = 0;
inline constexpr int kBadRows = 1;  // a batch with rows that had errors
inline constexpr int kUsage = 2;    // bad arguments or input, unreadable file

// Runs the command line on args (without the program's name), reading
// standard input from in (for --batch -) and writing to out and err.
// Returns the exit status; never ends the process and keeps no state, so
// it may run many times in one process.
//   {"swell", "10", "3"} -> the swell result lines on out, status 0
//   {"windsea", "12,5", "10", "100", "10"} -> one line on err, status 2
int run(std::span<const std::string_view> args, shell::ByteSource& in,
        shell::ByteSink& out, shell::ByteSink& err);

}  // namespace cli

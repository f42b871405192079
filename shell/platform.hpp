// What the operating system decides about a run: the program's arguments
// as UTF-8, standard streams that pass bytes unchanged, and files opened
// for reading by a UTF-8 name. On Linux these are the plain calls; on
// Windows the wide-character API stands behind them, so that a sailor's
// "Überfahrt.csv" opens and a report's bytes reach a pipe or file as on
// Linux (no carriage return added before a newline).
#pragma once

#include <string>
#include <vector>

namespace shell {

// Switches standard input, output and error to binary mode on Windows, so
// that every byte passes unchanged: "a\n" stays 2 bytes, 0x1A does not end
// the input. Nothing to do on Linux.
void use_binary_streams();

// The program's arguments after its name, each as UTF-8 bytes: argv on
// Linux; on Windows the wide command line converted, whatever the code
// page. Example: `morvelstandrik --batch Ärö.csv` -> {"--batch", "Ärö.csv"}.
std::vector<std::string> program_arguments(int argc, char** argv);

// Opens the file of UTF-8 name NAME for reading in binary mode, not
// inherited by child processes. Returns the file descriptor, or -1 with
// errno set (ENOENT for a missing file).
int open_for_reading(const std::string& name);

}  // namespace shell

// Numbers as text for the machine-readable results: a float in the
// shortest form that reads back to it, a whole number in decimal.
#pragma once

#include <cstdint>
#include <string>

namespace cli {

// The shortest text that reads back to the same float: 1.7441f -> "1.7441".
// std::to_chars where the C++ library has it for floats; otherwise (the
// WebAssembly build) shortest_written_out, which writes the same text.
std::string shortest(float v);
// The same, appended to out without a string of its own.
void append_shortest(std::string& out, float v);
// A whole number in decimal, appended to out: -12 -> "-12".
void append_integer(std::string& out, std::int64_t v);

// What std::to_chars writes for a float, written out with printf and
// strtof, for a C++ library without floating-point to_chars. Slower: it
// tries digit counts one after another.
std::string shortest_written_out(float v);

}  // namespace cli

// The result fields of an engine as the Python module lays them out: one
// column each, with its kind, unit and codes, found from the one walk over
// a result; the element error codes; the command by its name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "morvelstandrik/cli/commands.hpp"

namespace morvel_python {

enum class Kind : std::uint8_t { kNumber, kInteger, kChoice, kFlags };

// One result field as Python sees it. A whole number that some result
// leaves without a value becomes a float32 column with NaN, like a number.
struct Column {
  std::string name;  // joined with dots: deep_water.height_m
  Kind kind;
  std::string unit;
  std::vector<std::pair<std::string, std::string>> codes;  // code, text
  bool nullable = false;
};

// The error codes of an element: none, then for each entry of the command
// its value not finite, then refused by the entry's rule, in the order the
// command line checks them.
inline std::size_t not_finite_code(std::size_t entry) {
  return 1 + 2 * entry;
}
inline std::size_t refused_code(std::size_t entry) {
  return 2 + 2 * entry;
}

// The engines' texts are single bytes (the grounding warning holds 0xF5);
// Python's strings take them as the characters U+0000 to U+00FF.
std::string latin1_to_utf8(std::string_view latin1);

// The command of that name; ValueError when there is none.
const cli::Command& command_named(std::string_view name);

// The columns of a command's results, in the walk's order; a whole number
// that some result leaves without a value is a nullable column.
const std::vector<Column>& schema(const cli::Command& c);

}  // namespace morvel_python

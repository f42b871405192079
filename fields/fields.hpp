// The fields of an engine's result, walked in one fixed order: the one list
// of names, units and kinds behind the JSON members, the CSV columns and
// any other binding of the results. Each engine walks its result through a
// FieldVisitor (windsea::walk, swell::walk); a writer implements the
// visitor. Names are the JSON member names; a record's fields are named
// inside it (deep_water.height_m as a CSV column).
//   windsea::walk(v, report) -> v.number("wind_kt", "kt", 20), ...,
//   v.begin("deep_water"), v.number("height_m", "m", 1.883), ..., v.end()
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace fields {

// One member of a fixed set of codes: the code for machines, the text for
// people (a warning's or a note's sentence; empty where there is none).
struct Coded {
  std::string_view code;
  std::string_view text;
};

class FieldVisitor {
 public:
  // A single-precision figure in unit ("kt", "m", "1" for a ratio); no
  // value where the model cannot give one.
  virtual void number(std::string_view name, std::string_view unit,
                      std::optional<float> v) = 0;
  // A whole number (a count, a force, a percentage); no value where the
  // model cannot give one.
  virtual void integer(std::string_view name, std::string_view unit,
                       std::optional<std::int32_t> v) = 0;
  // One of a fixed set of codes: codes[index].
  virtual void choice(std::string_view name, std::span<const Coded> codes,
                      std::size_t index) = 0;
  // Any of a fixed set of codes, in the set's order: codes[i] for each bit
  // i of present (notes, warnings).
  virtual void flags(std::string_view name, std::span<const Coded> codes,
                     std::uint32_t present) = 0;
  // A record of fields under a name, or an item of a list.
  virtual void begin(std::string_view name) = 0;
  virtual void end() = 0;
  // A list of records. When it is not present its items are walked all the
  // same, with no values, so that every walk names the same fields.
  virtual void begin_list(std::string_view name, bool present) = 0;
  virtual void end_list() = 0;

 protected:
  ~FieldVisitor() = default;
};

// The text without the blanks and tabs around it: "  a b\t" -> "a b".
constexpr std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
    s.remove_suffix(1);
  }
  return s;
}

}  // namespace fields

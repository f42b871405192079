// Rendering of console output records.
//
// A list record places text, integer and real items on lines of at most 80
// columns without ever splitting an item; a template record fills the fields
// of a format such as "(1X,I4,'  ',F5.1)". Both append complete lines,
// newline included, to a string; bytes are copied unchanged.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace shell {

// One item of a list record.
struct Item {
  enum class Kind { kText, kInteger, kReal };
  constexpr Item(std::string_view s) : kind(Kind::kText), text(s) {}
  constexpr Item(const char* s) : kind(Kind::kText), text(s) {}
  Item(const std::string& s) : kind(Kind::kText), text(s) {}
  constexpr Item(std::int32_t v) : kind(Kind::kInteger), integer(v) {}
  constexpr Item(float v) : kind(Kind::kReal), real(v) {}

  Kind kind;
  std::string_view text{};
  std::int32_t integer = 0;
  float real = 0.0f;
};

// One value of a template record: an integer for an I field, a real for an F
// field.
struct Value {
  constexpr Value(std::int32_t v) : is_integer(true), integer(v) {}
  constexpr Value(float v) : is_integer(false), real(v) {}

  bool is_integer;
  std::int32_t integer = 0;
  float real = 0.0f;
};

// Appends a list record. A text item that starts a line gets one blank
// before it; an item that would bring the line to 80 columns or more starts
// a new line. No items give an empty line.
//   {"   [Sea Sickness Probability=", 15, " Percent]"}
//     -> "    [Sea Sickness Probability= 15 Percent]\n"
void render_list(std::string& out, std::span<const Item> items);

// Appends a template record. The walk stops at the first field without a
// value; values left at the template's end start a new line and a new walk.
//   "(' Windspeed =',F4.0,' kt, Bft=',I3,';   Distance =',F6.0,' km')"
//   with 25, 6 -> " Windspeed = 25. kt, Bft=  6;   Distance =\n"
void render_template(std::string& out, std::string_view tmpl,
                     std::span<const Value> values);

// The text of a real list item: a blank, the sign or a blank, and the value
// in nine significant digits with a point always present.
//   12.5 -> "  12.5", 3 -> "  3.", -0.75 -> " -0.75", 0.1 -> "  0.100000001"
std::string real_item_text(float value);

// An Iw field: the integer right-aligned in w columns, or w asterisks.
//   (3, 7) -> "  7", (3, 1000) -> "***"
std::string integer_field(int width, std::int32_t value);

// An Fw.d field: the value correctly rounded to d decimals, right-aligned in
// w columns, no minus sign on a value that shows as zero, or w asterisks
// (also for infinity and not-a-number).
//   (4, 1, 2.34) -> " 2.3", (4, 0, 25.3) -> " 25.", (4, 1, -0.04) -> " 0.0"
std::string fixed_field(int width, int decimals, float value);

}  // namespace shell

// Numbers typed on the command line or in a batch file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cli {

// A number read from text: the value, or what is wrong with the text.
struct Number {
  std::optional<float> value;
  std::string problem;  // empty when there is a value
};

// Reads a decimal number ("20", "-3", "0.5", ".5", "1e3"), the whole text,
// with surrounding blanks allowed, rounded to single precision as the
// dialogue rounds its entries. Refused, with a reason for people:
//   ""      -> "is empty; give a number"
//   "12,5"  -> "is not a number; use a decimal point"
//   "nan", "inf", "1e39" -> "is not a finite number"
//   "12kt", "0x10" -> "is not a number"
// With decimal_comma (a semicolon-separated file, as spreadsheets save them
// where the comma is the decimal mark), "12,5" is 12.5; "1.234,5" is still
// not a number.
Number read_number(std::string_view text, bool decimal_comma = false);

// The same number before it is rounded to single precision: the double the
// text reads as, for a value given in another unit, which is converted from
// it and rounded once (see units::to_engine). The same texts are refused,
// except a finite number too large for a float ("1e39"), which a unit
// smaller than the engine's may still bring into range.
//   "0.1" -> 0.1 (the double), "1e39" -> 1e39, "1e309" -> "is not a finite
//   number"
struct WideNumber {
  std::optional<double> value;
  std::string problem;  // empty when there is a value
};
WideNumber read_wide_number(std::string_view text, bool decimal_comma = false);

}  // namespace cli

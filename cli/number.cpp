#include "morvelstandrik/cli/number.hpp"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

#include "morvelstandrik/fields/fields.hpp"

namespace cli {
namespace {

bool digit(char c) {
  return c >= '0' && c <= '9';
}

bool same_letters(std::string_view t, std::string_view lower) {
  if (t.size() != lower.size()) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(t[i])) != lower[i]) {
      return false;
    }
  }
  return true;
}

// Whether the whole text is a number in the decimal form that
// std::from_chars reads: an optional minus; digits with at most one point,
// at least one digit; unless fixed, an exponent e or E with an optional
// sign and digits; or inf, infinity, nan, nan(letters, digits, _) in any
// case. Written out because the WebAssembly build's C++ library has no
// from_chars for floating point.
//   "-.5" "5." "1e3" "INF" "nan()" -> true;  "+1" "1e" "." "0x10" -> false
bool decimal_form(std::string_view t, bool fixed) {
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  if (same_letters(t, "inf") || same_letters(t, "infinity") ||
      same_letters(t, "nan")) {
    return true;
  }
  if (t.size() >= 5 && same_letters(t.substr(0, 4), "nan(") &&
      t.back() == ')') {
    for (char c : t.substr(4, t.size() - 5)) {
      if (!digit(c) && !std::isalpha(static_cast<unsigned char>(c)) &&
          c != '_') {
        return false;
      }
    }
    return true;
  }
  std::size_t i = 0;
  std::size_t digits = 0;
  while (i < t.size() && digit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == '.') {
    ++i;
    while (i < t.size() && digit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i == t.size()) return true;
  if (fixed || (t[i] != 'e' && t[i] != 'E')) return false;
  ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  if (i == t.size()) return false;
  while (i < t.size() && digit(t[i])) ++i;
  return i == t.size();
}

bool decimal_comma(std::string_view t) {
  // Digits on both sides of one comma, and nothing else but a sign: the
  // way much of Europe writes 12.5.
  const std::size_t comma = t.find(',');
  if (comma == std::string_view::npos || t.find(',', comma + 1) != t.npos) {
    return false;
  }
  std::string with_point(t);
  with_point[comma] = '.';
  std::string_view number = with_point;
  if (number[0] == '-' || number[0] == '+') number.remove_prefix(1);
  return decimal_form(number, true);
}

}  // namespace

WideNumber read_wide_number(std::string_view text, bool comma_allowed) {
  text = fields::trim(text);
  if (text.empty()) return {std::nullopt, "is empty; give a number"};
  std::string with_point;
  if (decimal_comma(text)) {
    if (!comma_allowed) {
      return {std::nullopt, "is not a number; use a decimal point"};
    }
    with_point.assign(text);
    with_point[with_point.find(',')] = '.';
    text = with_point;
  }
  // The decimal form takes no plus sign; the dialogue does.
  std::string_view digits = text;
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') {
    digits.remove_prefix(1);
  }
  // The syntax is the decimal form (no hexadecimal); the value is
  // strtod's, correctly rounded, infinite when too large for a double.
  if (!decimal_form(digits, false)) return {std::nullopt, "is not a number"};
  const std::string copy(digits);
  const double value = std::strtod(copy.c_str(), nullptr);
  if (!std::isfinite(value)) return {std::nullopt, "is not a finite number"};
  return {value, ""};
}

Number read_number(std::string_view text, bool comma_allowed) {
  const WideNumber wide = read_wide_number(text, comma_allowed);
  if (!wide.value) return {std::nullopt, wide.problem};
  const float narrowed = static_cast<float>(*wide.value);
  if (!std::isfinite(narrowed)) {
    return {std::nullopt, "is not a finite number"};
  }
  return {narrowed, ""};
}

}  // namespace cli

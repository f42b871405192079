#include "morvelstandrik/cli/number.hpp"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace cli {
namespace {

bool blank(char c) {
  return c == ' ' || c == '\t';
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
  double unused = 0;
  const char* end = with_point.data() + with_point.size();
  return std::from_chars(
             with_point.data() +
                 (with_point[0] == '-' || with_point[0] == '+' ? 1 : 0),
             end, unused, std::chars_format::fixed)
             .ptr == end;
}

}  // namespace

Number read_number(std::string_view text) {
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (text.empty()) return {std::nullopt, "is empty; give a number"};
  if (decimal_comma(text)) {
    return {std::nullopt, "is not a number; use a decimal point"};
  }
  // from_chars takes no plus sign; the dialogue does.
  std::string_view digits = text;
  if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-') {
    digits.remove_prefix(1);
  }
  // The syntax is from_chars's decimal form (no hexadecimal); the value is
  // strtod's, correctly rounded, infinite when too large for a double.
  double checked = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, ec] =
      std::from_chars(digits.data(), end, checked, std::chars_format::general);
  if (ptr != end ||
      (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    return {std::nullopt, "is not a number"};
  }
  const std::string copy(digits);
  const double value = std::strtod(copy.c_str(), nullptr);
  const float narrowed = static_cast<float>(value);
  if (!std::isfinite(value) || !std::isfinite(narrowed)) {
    return {std::nullopt, "is not a finite number"};
  }
  return {narrowed, ""};
}

}  // namespace cli

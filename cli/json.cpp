#include "morvelstandrik/cli/json.hpp"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace cli {
namespace {

// Length of the valid UTF-8 sequence at the start of s, or 0.
std::size_t utf8_length(std::string_view s) {
  const auto b = [&](std::size_t i) {
    return static_cast<unsigned char>(s[i]);
  };
  const unsigned char c = b(0);
  std::size_t n = 0;
  unsigned lo = 0x80, hi = 0xBF;  // range of the second byte
  if (c < 0x80) return 1;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    if (c == 0xE0) lo = 0xA0;
    if (c == 0xED) hi = 0x9F;  // no surrogates
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    if (c == 0xF0) lo = 0x90;
    if (c == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  if (b(1) < lo || b(1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i) {
    if (b(i) < 0x80 || b(i) > 0xBF) return 0;
  }
  return n;
}

}  // namespace

namespace {

// The shortest decimal digits that read back to v (finite, not zero), with
// the decimal exponent of the first: the fewest digits whose correctly
// rounded value, or one unit in its last digit beside it (where v is a
// power of two, the floats below lie closer than those above), reads back
// to v; of those, the one closest to v. What std::to_chars chooses, written
// out because the WebAssembly build's C++ library has no floating-point
// to_chars.
struct Digits {
  std::string digits;
  int exponent;
};

// d plus or minus one unit in its last digit; false when that changes its
// number of digits.
bool step(std::string& d, int by) {
  std::size_t i = d.size();
  const char low = by > 0 ? '9' : '0';
  const char high = by > 0 ? '0' : '9';
  while (i > 0 && d[i - 1] == low) d[--i] = high;
  if (i == 0) return false;
  d[i - 1] = static_cast<char>(d[i - 1] + by);
  return d[0] != '0';
}

Digits shortest_digits(float v) {
  const double x = std::fabs(static_cast<double>(v));
  const float target = std::fabs(v);
  char buf[40];
  for (int n = 1;; ++n) {
    std::snprintf(buf, sizeof buf, "%.*e", n - 1, x);
    std::string rounded(1, buf[0]);
    const char* e = buf + 1;
    if (*e == '.') {
      rounded.append(e + 1, static_cast<std::size_t>(n - 1));
      e += n;
    }
    const int exponent = std::atoi(e + 1);
    // The rounded digits are the closest (exact ties rounded to even, as
    // printf rounds); only when they do not read back to v are their
    // neighbours tried, the closer first.
    const auto text = [&](const std::string& d) {
      return d + "e" + std::to_string(exponent - n + 1);
    };
    const auto distance = [&](const std::string& d) {
      return std::fabs(std::strtod(text(d).c_str(), nullptr) - x);
    };
    std::vector<std::string> candidates = {rounded};
    for (int by : {-1, +1}) {
      std::string d = rounded;
      if (step(d, by)) candidates.push_back(d);
    }
    if (candidates.size() == 3 &&
        distance(candidates[2]) < distance(candidates[1])) {
      std::swap(candidates[1], candidates[2]);
    }
    Digits best{"", exponent};
    for (const std::string& d : candidates) {
      if (std::strtof(text(d).c_str(), nullptr) == target) {
        best.digits = d;
        break;
      }
    }
    if (!best.digits.empty()) {
      while (best.digits.size() > 1 && best.digits.back() == '0') {
        best.digits.pop_back();
      }
      return best;
    }
  }
}

}  // namespace

// Fixed or scientific notation, whichever is shorter (fixed on a tie), as
// std::to_chars writes it: 1e-05f -> "1e-05", 1.5e-4f -> "0.00015",
// 1e6f -> "1e+06", 123456.0f -> "123456", 33591912.0f -> "33591912".
std::string shortest(float v) {
  if (v == 0.0f) return std::signbit(v) ? "-0" : "0";
  const Digits d = shortest_digits(v);
  const std::string sign = v < 0.0f ? "-" : "";
  const int n = static_cast<int>(d.digits.size());
  std::string scientific = sign + d.digits.substr(0, 1);
  if (n > 1) scientific += "." + d.digits.substr(1);
  char exp[16];
  std::snprintf(exp, sizeof exp, "e%c%02d", d.exponent < 0 ? '-' : '+',
                std::abs(d.exponent));
  scientific += exp;
  std::string fixed = sign;
  if (d.exponent >= n - 1) {
    // A whole number: its exact digits are as short as the shortest digits
    // padded with zeros, and closer.
    char whole[48];
    std::snprintf(whole, sizeof whole, "%.0f",
                  std::fabs(static_cast<double>(v)));
    fixed += whole;
  } else if (d.exponent >= 0) {
    const auto point = static_cast<std::size_t>(d.exponent + 1);
    fixed += d.digits.substr(0, point) + "." + d.digits.substr(point);
  } else {
    fixed += "0." +
             std::string(static_cast<std::size_t>(-d.exponent - 1), '0') +
             d.digits;
  }
  return scientific.size() < fixed.size() ? scientific : fixed;
}

void Json::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (!first_.empty()) {
    if (!first_.back()) out_.push_back(',');
    first_.back() = false;
  }
}

void Json::begin_object() {
  separate();
  out_.push_back('{');
  first_.push_back(true);
}
void Json::end_object() {
  out_.push_back('}');
  first_.pop_back();
}
void Json::begin_array() {
  separate();
  out_.push_back('[');
  first_.push_back(true);
}
void Json::end_array() {
  out_.push_back(']');
  first_.pop_back();
}

Json& Json::key(std::string_view name) {
  separate();
  quoted(name, false);
  out_.push_back(':');
  after_key_ = true;
  return *this;
}

void Json::null() {
  separate();
  out_.append("null");
}

void Json::number(float v) {
  if (!std::isfinite(v)) {
    null();
    return;
  }
  separate();
  out_.append(shortest(v));
}

void Json::integer(std::int64_t v) {
  separate();
  out_.append(std::to_string(v));
}

void Json::text(std::string_view latin1) {
  separate();
  quoted(latin1, true);
}

void Json::utf8(std::string_view text) {
  separate();
  quoted(text, false);
}

void Json::quoted(std::string_view s, bool latin1) {
  static constexpr char hex[] = "0123456789abcdef";
  out_.push_back('"');
  for (std::size_t i = 0; i < s.size();) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c == '"' || c == '\\') {
      out_.push_back('\\');
      out_.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c == 0x7F) {
      out_.append("\\u00");
      out_.push_back(hex[c >> 4]);
      out_.push_back(hex[c & 15]);
    } else if (c >= 0x80 && latin1) {
      out_.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out_.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c >= 0x80) {
      const std::size_t n = utf8_length(s.substr(i));
      if (n == 0) {
        out_.append("\xEF\xBF\xBD");
        ++i;
      } else {
        out_.append(s.substr(i, n));
        i += n;
      }
      continue;
    } else {
      out_.push_back(static_cast<char>(c));
    }
    ++i;
  }
  out_.push_back('"');
}

}  // namespace cli

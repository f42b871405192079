#include "morvelstandrik/cli/shortest.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace cli {
namespace {

// The shortest decimal digits that read back to v (finite, not zero), with
// the decimal exponent of the first: the fewest digits whose correctly
// rounded value, or one unit in its last digit beside it (where v is a
// power of two, the floats below lie closer than those above), reads back
// to v; of those, the one closest to v. What std::to_chars chooses, written
// out because the WebAssembly build's C++ library has no floating-point
// to_chars. Fixed buffers only: a batch writes millions of numbers.
struct Digits {
  char digits[12];  // a float never needs more than 9
  int count;
  int exponent;
};

// d plus or minus one unit in its last digit; false when that changes its
// number of digits.
bool step(char* d, int n, int by) {
  const char low = by > 0 ? '9' : '0';
  const char high = by > 0 ? '0' : '9';
  int i = n;
  while (i > 0 && d[i - 1] == low) d[--i] = high;
  if (i == 0) return false;
  d[i - 1] = static_cast<char>(d[i - 1] + by);
  return d[0] != '0';
}

// The value of the digits d[0..n) times 10^(exponent - n + 1), read back
// as a float (round trip) or as a double (distance).
void as_text(char (&text)[32], const char* d, int n, int exponent) {
  std::snprintf(text, sizeof text, "%.*se%d", n, d, exponent - n + 1);
}

Digits shortest_digits(float v) {
  const double x = std::fabs(static_cast<double>(v));
  const float target = std::fabs(v);
  char buf[40];
  char text[32];
  for (int n = 1;; ++n) {
    std::snprintf(buf, sizeof buf, "%.*e", n - 1, x);
    // The rounded digits are the closest (exact ties rounded to even, as
    // printf rounds); only when they do not read back to v are their
    // neighbours tried, the closer first.
    char candidates[3][12] = {};
    candidates[0][0] = buf[0];
    std::memcpy(candidates[0] + 1, buf + 2, static_cast<std::size_t>(n - 1));
    const int exponent = std::atoi(buf + (n > 1 ? n + 2 : 2));
    int count = 1;
    for (int by : {-1, +1}) {
      std::memcpy(candidates[count], candidates[0], sizeof candidates[0]);
      if (step(candidates[count], n, by)) ++count;
    }
    if (count == 3) {
      double distance[2];
      for (int i = 0; i < 2; ++i) {
        as_text(text, candidates[i + 1], n, exponent);
        distance[i] = std::fabs(std::strtod(text, nullptr) - x);
      }
      if (distance[1] < distance[0]) {
        char swap[12];
        std::memcpy(swap, candidates[1], sizeof swap);
        std::memcpy(candidates[1], candidates[2], sizeof swap);
        std::memcpy(candidates[2], swap, sizeof swap);
      }
    }
    for (int i = 0; i < count; ++i) {
      as_text(text, candidates[i], n, exponent);
      if (std::strtof(text, nullptr) != target) continue;
      Digits best{};
      std::memcpy(best.digits, candidates[i], sizeof best.digits);
      best.count = n;
      best.exponent = exponent;
      while (best.count > 1 && best.digits[best.count - 1] == '0') {
        --best.count;
      }
      return best;
    }
  }
}

}  // namespace

std::string shortest(float v) {
  std::string text;
  append_shortest(text, v);
  return text;
}

void append_shortest(std::string& out, float v) {
#ifdef __EMSCRIPTEN__
  out.append(shortest_written_out(v));
#else
  char buf[32];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
#endif
}

void append_integer(std::string& out, std::int64_t v) {
  char buf[24];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

// Fixed or scientific notation, whichever is shorter (fixed on a tie), as
// std::to_chars writes it: 1e-05f -> "1e-05", 1.5e-4f -> "0.00015",
// 1e6f -> "1e+06", 123456.0f -> "123456", 33591912.0f -> "33591912".
std::string shortest_written_out(float v) {
  if (v == 0.0f) return std::signbit(v) ? "-0" : "0";
  const Digits d = shortest_digits(v);
  const char* sign = v < 0.0f ? "-" : "";
  const int n = d.count;
  char scientific[32];
  if (n > 1) {
    std::snprintf(scientific, sizeof scientific, "%s%c.%.*se%c%02d", sign,
                  d.digits[0], n - 1, d.digits + 1, d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
  } else {
    std::snprintf(scientific, sizeof scientific, "%s%ce%c%02d", sign,
                  d.digits[0], d.exponent < 0 ? '-' : '+',
                  std::abs(d.exponent));
  }
  char fixed[64];
  if (d.exponent >= n - 1) {
    // A whole number: its exact digits are as short as the shortest digits
    // padded with zeros, and closer.
    std::snprintf(fixed, sizeof fixed, "%s%.0f", sign,
                  std::fabs(static_cast<double>(v)));
  } else if (d.exponent >= 0) {
    std::snprintf(fixed, sizeof fixed, "%s%.*s.%.*s", sign, d.exponent + 1,
                  d.digits, n - d.exponent - 1, d.digits + d.exponent + 1);
  } else {
    static constexpr char zeros[] =
        "000000000000000000000000000000000000000000000";
    std::snprintf(fixed, sizeof fixed, "%s0.%.*s%.*s", sign, -d.exponent - 1,
                  zeros, n, d.digits);
  }
  return std::strlen(scientific) < std::strlen(fixed) ? scientific : fixed;
}

}  // namespace cli

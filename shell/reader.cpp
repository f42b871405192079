#include "morvelstandrik/shell/reader.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace shell {

void Input::fill(std::size_t n) {
  if (len_ - pos_ >= n || source_done_) return;
  if (pos_ + n > buf_.size()) {
    std::memmove(buf_.data(), buf_.data() + pos_, len_ - pos_);
    len_ -= pos_;
    pos_ = 0;
  }
  while (len_ - pos_ < n) {
    const std::size_t got =
        source_.read(buf_.data() + len_, buf_.size() - len_);
    if (got == 0) {
      source_done_ = true;
      return;
    }
    len_ += got;
  }
}

int Input::peek() {
  fill(1);
  if (len_ == pos_) return kEnd;
  const int c = byte_at(0);
  if (c == '\r' && fold_crlf_) {
    fill(2);
    if (len_ - pos_ >= 2 && byte_at(1) == '\n') return '\n';
  }
  return c;
}

int Input::get() {
  const int c = peek();
  if (c == kEnd) return c;
  pos_ += (c == '\n' && byte_at(0) == '\r') ? 2 : 1;
  return c;
}

bool Input::discard_line() {
  for (;;) {
    const int c = get();
    if (c == '\n') return true;
    if (c == kEnd) return false;
  }
}

namespace {

constexpr int kMaxDigits = 40;
constexpr std::int64_t kMaxExponent = 99999999;

bool is_digit(int c) {
  return c >= '0' && c <= '9';
}
bool is_blank(int c) {
  return c == ' ' || c == '\t' || c == '\n';
}
bool is_separator(int c) {
  return c == ',' || c == '/';
}
bool is_exponent_letter(int c) {
  return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// The significant digits of a number as scanned: at most 40 of them, and the
// power of ten that scales them.
class Mantissa {
 public:
  void add_integer_digit(int c) {
    seen_ = true;
    if (count_ == 0 && c == '0') return;
    if (count_ < kMaxDigits) {
      digits_[count_++] = static_cast<char>(c);
    } else {
      ++scale_;  // digits beyond the 40th only scale the value
    }
  }
  void add_fraction_digit(int c) {
    seen_ = true;
    if (count_ == 0 && c == '0') {
      --scale_;
      return;
    }
    if (count_ < kMaxDigits) {
      digits_[count_++] = static_cast<char>(c);
      --scale_;
    }
  }
  bool seen() const { return seen_; }
  bool is_zero() const { return count_ == 0; }

  // Correctly rounded value of digits x 10^(scale + exponent).
  double value(std::int64_t exponent) const {
    if (count_ == 0) return 0.0;
    // Forty digits and an exponent beyond this already give 0 or infinity.
    const std::int64_t e =
        std::clamp<std::int64_t>(scale_ + exponent, -100000, 100000);
    char text[kMaxDigits + 16];
    std::memcpy(text, digits_, static_cast<std::size_t>(count_));
    std::snprintf(text + count_, sizeof text - static_cast<std::size_t>(count_),
                  "e%lld", static_cast<long long>(e));
    return std::strtod(text, nullptr);
  }

 private:
  char digits_[kMaxDigits] = {};
  int count_ = 0;
  std::int64_t scale_ = 0;
  bool seen_ = false;
};

Scan no_value() {
  return Scan{Scan::Kind::kNoValue};
}
Scan failed(Failure f) {
  Scan s{Scan::Kind::kFailed};
  s.failure = f;
  return s;
}

// Optional sign: consumes it and tells whether it was a minus.
bool take_sign(Input& in, int& c, bool& had_sign) {
  had_sign = c == '+' || c == '-';
  if (!had_sign) return false;
  const bool negative = c == '-';
  in.get();
  c = in.peek();
  return negative;
}

}  // namespace

Scan scan_number(Input& in, bool integer) {
  int c = in.peek();
  while (is_blank(c)) {
    in.get();
    c = in.peek();
  }
  if (c == Input::kEnd) return failed(Failure::kListEnd);
  if (is_separator(c)) return no_value();

  bool had_sign = false;
  bool negative = take_sign(in, c, had_sign);
  Mantissa mantissa;
  for (; is_digit(c); c = in.peek()) mantissa.add_integer_digit(in.get());

  bool repeat = false;
  if (c == '*') {
    // The digits were a repeat count; the number follows the "*" directly.
    if (had_sign || mantissa.is_zero()) return failed(Failure::kBadRepeat);
    in.get();
    c = in.peek();
    if (is_blank(c) || is_separator(c)) return no_value();
    if (c == Input::kEnd) {
      Scan s = no_value();
      s.hit_end = true;
      return s;
    }
    repeat = true;
    mantissa = Mantissa();
    negative = take_sign(in, c, had_sign);
    for (; is_digit(c); c = in.peek()) mantissa.add_integer_digit(in.get());
  }

  if (c == '.') {
    if (integer) return failed(Failure::kIntegerSyntax);
    in.get();
    for (c = in.peek(); is_digit(c); c = in.peek()) {
      mantissa.add_fraction_digit(in.get());
    }
  }

  if (!mantissa.seen()) {
    if (is_separator(c) || (repeat && is_blank(c))) return no_value();
    if (repeat && c == Input::kEnd) {
      Scan s = no_value();
      s.hit_end = true;
      return s;
    }
    return failed(Failure::kNoNumber);
  }

  std::int64_t exponent = 0;
  bool has_exponent = false;
  if (is_exponent_letter(c)) {
    if (integer) return failed(Failure::kIntegerSyntax);
    in.get();
    c = in.peek();
    has_exponent = true;
  } else if (c == '+' || c == '-') {
    has_exponent = true;  // a sign right after the digits starts an exponent
  }
  if (has_exponent) {
    bool exponent_sign = false;
    const bool exponent_negative = take_sign(in, c, exponent_sign);
    if (!is_digit(c)) return failed(Failure::kBadExponent);
    for (; is_digit(c); c = in.peek()) {
      exponent = exponent * 10 + (in.get() - '0');
      if (exponent > kMaxExponent) return failed(Failure::kBadExponent);
    }
    if (exponent_negative) exponent = -exponent;
  }

  Scan s{Scan::Kind::kValue};
  s.value = mantissa.value(exponent);
  if (negative) s.value = -s.value;
  return s;
}

std::int32_t to_integer(double value) {
  const double t = std::trunc(value);
  if (t >= -2147483648.0 && t <= 2147483647.0) {
    return static_cast<std::int32_t>(t);
  }
  return std::numeric_limits<std::int32_t>::min();
}

}  // namespace shell

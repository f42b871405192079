#include "morvelstandrik/shell/records.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace shell {
namespace {

constexpr std::size_t kLineLimit = 80;

// Decimal digits of a magnitude, without sign.
std::string magnitude_digits(std::int64_t value) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::llabs(value));
  return std::string(buf, res.ptr);
}

// Parses an unsigned decimal number at pos; 0 when there is none.
int parse_count(std::string_view s, std::size_t& pos) {
  int n = 0;
  while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9') {
    n = n * 10 + (s[pos] - '0');
    ++pos;
  }
  return n;
}

bool is_letter(char c, char upper) {
  return c == upper || c == upper + 32;
}

// Right-aligns a field's text in w columns, or fills them with asterisks
// when it does not fit.
std::string fit(const std::string& text, std::size_t w) {
  if (text.size() > w) return std::string(w, '*');
  return std::string(w - text.size(), ' ') + text;
}

}  // namespace

std::string real_item_text(float value) {
  std::string text = " ";
  text += std::signbit(value) && value != 0.0f ? '-' : ' ';
  if (std::isnan(value)) return text + "NaN";
  if (std::isinf(value)) return text + "Infinity";
  if (value == 0.0f) return text + "0.";
  char buf[32];
  const int n = std::snprintf(buf, sizeof buf, "%.9G",
                              std::fabs(static_cast<double>(value)));
  std::string body(buf, static_cast<std::size_t>(n));
  if (body.find('.') == std::string::npos) {
    const std::size_t e = body.find('E');
    if (e == std::string::npos) {
      body += '.';
    } else {
      body.insert(e, 1, '.');
    }
  }
  return text + body;
}

std::string integer_field(int width, std::int32_t value) {
  std::string text = magnitude_digits(value);
  if (value < 0) text.insert(0, 1, '-');
  return fit(text, static_cast<std::size_t>(width));
}

std::string fixed_field(int width, int decimals, float value) {
  const auto w = static_cast<std::size_t>(width);
  // Infinity (an entry of 1e400, a wind field at no finite distance) is too
  // wide for any field.
  if (!std::isfinite(value)) return std::string(w, '*');
  // The largest float has 39 integer digits; decimals are at most a few.
  char buf[400];
  const int n = std::snprintf(buf, sizeof buf, "%#.*f", decimals,
                              std::fabs(static_cast<double>(value)));
  std::string text(buf, std::min(static_cast<std::size_t>(n), sizeof buf - 1));
  const bool shows_nonzero =
      text.find_first_of("123456789") != std::string::npos;
  if (value < 0 && shows_nonzero) text.insert(0, 1, '-');
  if (text.size() == w + 1) {
    // One column too wide: a leading 0 before the point may be left out.
    const std::size_t zero = text[0] == '-' ? 1 : 0;
    if (text.compare(zero, 2, "0.") == 0) text.erase(zero, 1);
  }
  return fit(text, w);
}

void render_list(std::string& out, std::span<const Item> items) {
  std::size_t length = 0;
  auto start_line_if_full = [&](std::size_t item_length) {
    if (length > 0 && length + item_length >= kLineLimit) {
      out += '\n';
      length = 0;
    }
  };
  for (const Item& item : items) {
    switch (item.kind) {
      case Item::Kind::kText:
        start_line_if_full(item.text.size());
        if (length == 0) {
          out += ' ';
          ++length;
        }
        out.append(item.text);
        length += item.text.size();
        break;
      case Item::Kind::kInteger: {
        const std::string digits = magnitude_digits(item.integer);
        start_line_if_full(digits.size());
        out += ' ';
        if (item.integer < 0) out += '-';
        out += digits;
        length += 1 + (item.integer < 0 ? 1 : 0) + digits.size();
        break;
      }
      case Item::Kind::kReal: {
        const std::string text = real_item_text(item.real);
        start_line_if_full(text.size());
        out += text;
        length += text.size();
        break;
      }
    }
  }
  out += '\n';
}

void render_template(std::string& out, std::string_view tmpl,
                     std::span<const Value> values) {
  // The template is "(item,item,...)"; walk its inside.
  std::size_t first = tmpl.find('(');
  first = first == std::string_view::npos ? 0 : first + 1;
  std::size_t next = 0;  // index of the next value
  bool used_value = false;
  std::size_t pos = first;
  for (;;) {
    while (pos < tmpl.size() && (tmpl[pos] == ',' || tmpl[pos] == ' ')) ++pos;
    if (pos >= tmpl.size() || tmpl[pos] == ')') {
      // Template's end: values left start a new line and a fresh walk, as
      // long as a walk takes any value at all.
      if (next >= values.size() || !used_value) break;
      out += '\n';
      pos = first;
      used_value = false;
      continue;
    }
    if (tmpl[pos] == '\'') {
      ++pos;
      while (pos < tmpl.size()) {
        if (tmpl[pos] == '\'') {
          if (pos + 1 < tmpl.size() && tmpl[pos + 1] == '\'') {
            out += '\'';
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        out += tmpl[pos++];
      }
      continue;
    }
    const std::size_t count_start = pos;
    int count = parse_count(tmpl, pos);
    if (pos >= tmpl.size()) break;
    const char kind = tmpl[pos++];
    if (is_letter(kind, 'X')) {
      out.append(static_cast<std::size_t>(count), ' ');
      continue;
    }
    if (pos == count_start + 1) count = 1;  // no repeat count written
    const bool is_integer = is_letter(kind, 'I');
    if (!is_integer && !is_letter(kind, 'F')) continue;  // not a known item
    const int width = parse_count(tmpl, pos);
    int decimals = 0;
    if (pos < tmpl.size() && tmpl[pos] == '.') {
      ++pos;
      decimals = parse_count(tmpl, pos);
    }
    for (int k = 0; k < count; ++k) {
      if (next >= values.size()) {
        out += '\n';
        return;
      }
      const Value& v = values[next++];
      used_value = true;
      if (is_integer) {
        out += integer_field(
            width, v.is_integer ? v.integer : static_cast<std::int32_t>(0));
      } else {
        out +=
            fixed_field(width, decimals,
                        v.is_integer ? static_cast<float>(v.integer) : v.real);
      }
    }
  }
  out += '\n';
}

}  // namespace shell

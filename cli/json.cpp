#include "morvelstandrik/cli/json.hpp"

#include <cassert>
#include <cmath>

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

// A byte written in a JSON text as it is: printable ASCII but the quote
// and the backslash.
bool stands_for_itself(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return c >= 0x20 && c < 0x7F && c != '"' && c != '\\';
}

}  // namespace

void Json::separate() {
  if (after_key_) {
    after_key_ = false;
    return;
  }
  if (depth_ > 0) {
    const std::uint64_t bit = std::uint64_t{1} << (depth_ - 1);
    if ((empty_ & bit) == 0) out_.push_back(',');
    empty_ &= ~bit;
  }
}

void Json::open(char bracket) {
  separate();
  out_.push_back(bracket);
  assert(depth_ < kMaxDepth);
  empty_ |= std::uint64_t{1} << depth_++;
}

void Json::close(char bracket) {
  out_.push_back(bracket);
  --depth_;
}

void Json::begin_object() {
  open('{');
}
void Json::end_object() {
  close('}');
}
void Json::begin_array() {
  open('[');
}
void Json::end_array() {
  close(']');
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

void Json::boolean(bool v) {
  separate();
  out_.append(v ? "true" : "false");
}

void Json::number(float v) {
  if (!std::isfinite(v)) {
    null();
    return;
  }
  separate();
  append_shortest(out_, v);
}

void Json::integer(std::int64_t v) {
  separate();
  append_integer(out_, v);
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
    // A run of bytes that stand for themselves, in one piece.
    std::size_t plain = i;
    while (plain < s.size() && stands_for_itself(s[plain])) ++plain;
    out_.append(s.data() + i, plain - i);
    i = plain;
    if (i == s.size()) break;
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

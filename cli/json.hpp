// Writing JSON: objects, arrays, texts, integers, floats in the shortest
// form that reads back to the same float, and null. Compact, one line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/shortest.hpp"

namespace cli {

class Json {
 public:
  explicit Json(std::string& out) : out_(out) {}

  void begin_object();
  void end_object();
  void begin_array();
  void end_array();
  // The name of the next member of an object.
  Json& key(std::string_view name);

  void null();
  void boolean(bool v);  // true or false
  void number(float v);  // shortest round trip: 0.1f -> 0.1; not finite: null
  void integer(std::int64_t v);
  // Text of the program's own (single bytes; 0xF5 becomes U+00F5).
  void text(std::string_view latin1);
  // Text from the user's files, meant to be UTF-8: kept as it is, with each
  // byte that does not belong to valid UTF-8 replaced by U+FFFD.
  void utf8(std::string_view text);

  void number(std::optional<float> v) { v ? number(*v) : null(); }
  void integer(std::optional<std::int32_t> v) { v ? integer(*v) : null(); }

 private:
  void separate();
  void quoted(std::string_view text, bool latin1);
  void open(char bracket);
  void close(char bracket);

  std::string& out_;
  // The objects and arrays open, and for each whether nothing is in it
  // yet (bit i for the i-th open one).
  static constexpr int kMaxDepth = 64;
  int depth_ = 0;
  std::uint64_t empty_ = 0;
  bool after_key_ = false;
};

}  // namespace cli

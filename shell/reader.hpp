// Reading of console input: a buffered stream of line characters and the
// free-form scanner of one number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "morvelstandrik/shell/streams.hpp"

namespace shell {

// Why a read failed. Every failure ends the program with its diagnostic.
enum class Failure {
  kReadStart,      // the input had already ended when the read started
  kListEnd,        // end of input while looking for a number
  kLineEnd,        // end of input inside a line read
  kNoNumber,       // no number where one must stand
  kIntegerSyntax,  // a point or an exponent letter in an integer entry
  kBadExponent,    // exponent without digits, or above 99999999
  kBadRepeat,      // repeat count of zero, with a sign, or a bare "*"
};

// The characters of the input, line by line, read through a fixed buffer so
// that a line of any length costs no more memory. With fold_crlf a carriage
// return right before a newline is dropped: it is not part of the line.
class Input {
 public:
  static constexpr int kEnd = -1;

  explicit Input(ByteSource& source, bool fold_crlf = true,
                 std::size_t capacity = 1 << 16)
      : source_(source), fold_crlf_(fold_crlf), buf_(capacity) {}
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;

  // The next character (0..255, '\n' at a line end) or kEnd.
  int peek();
  int get();

  // Consumes the rest of the current line with its newline. Returns false
  // when the input ended first.
  bool discard_line();

  // The input-ended flag: once set it stays set.
  bool ended() const { return ended_; }
  void mark_ended() { ended_ = true; }

 private:
  // Makes at least n bytes available unless the source has ended.
  void fill(std::size_t n);
  int byte_at(std::size_t i) const {
    return static_cast<unsigned char>(buf_[pos_ + i]);
  }

  ByteSource& source_;
  bool fold_crlf_;
  bool ended_ = false;
  bool source_done_ = false;
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::vector<char> buf_;
};

// The outcome of scanning one number.
struct Scan {
  enum class Kind { kValue, kNoValue, kFailed };
  Kind kind;
  double value = 0.0;
  Failure failure = Failure::kNoNumber;
  // A bare repeat prefix met the end of input: no value, input ended.
  bool hit_end = false;
};

// Scans one free-form number: skips blanks, tabs and newlines, then reads an
// optional repeat prefix ("3*"), sign, digits, point and exponent (E, e, D, d
// or a bare sign: "1.5-3" is 0.0015). The first 40 significant digits count.
// A comma or slash gives no value. The character that ends the number is not
// consumed. In an integer entry a point or exponent letter fails.
//   "  12abc" -> 12,  "2d1" -> 20,  ",5" -> no value,  "abc" -> kNoNumber
Scan scan_number(Input& in, bool integer);

// Narrows a scanned value for an integer target: truncated toward zero, and
// -2147483648 for anything outside the 32-bit range.
std::int32_t to_integer(double value);

}  // namespace shell

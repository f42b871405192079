// The console: the one layer that knows standard input and output.
//
// Output records are collected in a buffer and delivered before every read
// and at every end, so a piped session costs few writes while an interactive
// one sees every line before the program waits. Every failing read ends the
// program through fatal(), the one place that owns the abnormal end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "morvelstandrik/shell/reader.hpp"
#include "morvelstandrik/shell/records.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace shell {

// Where a failing read took its characters from, which the diagnostic names.
enum class Origin { kStandardInput, kInternal };
// The kind of read: free-form ("list io") or a line read ("(a)").
enum class Format { kList, kCharacters };

// The four lines of the diagnostic for a failed read, each with its newline.
//   (kNoNumber, kStandardInput, kList) ->
//   "invalid number: incomprehensible list input\n"
//   "apparent state: unit 5 (unnamed)\n"
//   "last format: list io\n"
//   "lately reading sequential formatted external IO\n"
std::string diagnostic(Failure failure, Origin origin, Format format);

// Called after the diagnostic is written and the output delivered. The
// program aborts, with its core file size limited to 0 first; a fuzz driver
// or test may install a hook that unwinds instead. A hook that returns is
// followed by the abort.
using FatalHook = void (*)();

class Console {
 public:
  Console(ByteSource& in, ByteSink& out, ByteSink& err,
          FatalHook hook = nullptr);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;
  ~Console() { flush(); }

  // Output records.
  void list(std::initializer_list<Item> items) {
    render_list(pending_, {items.begin(), items.size()});
    deliver_if_full();
  }
  void empty(int count = 1) {
    pending_.append(static_cast<std::size_t>(count), '\n');
    deliver_if_full();
  }
  void record(std::string_view tmpl, std::initializer_list<Value> values) {
    render_template(pending_, tmpl, {values.begin(), values.size()});
    deliver_if_full();
  }
  // Complete records rendered elsewhere, each line with its newline.
  void text(std::string_view records) {
    pending_.append(records);
    deliver_if_full();
  }
  // Delivers everything written so far.
  void flush();

  // Read a number from standard input into an integer or a real. The target
  // keeps its value when the entry gives no value (a comma or a slash). The
  // rest of the line is discarded.
  void read(std::int32_t& target);
  void read(float& target);

  // Line read: the first n characters of the next line, blank-filled.
  void read_line(char* text, std::size_t n);
  template <std::size_t N>
  void read_line(std::array<char, N>& text) {
    read_line(text.data(), N);
  }
  // Consumes one line, whatever it holds; the end of input is noted, and
  // only fails the next read.
  void skip_line();
  // A line read into one character that nobody uses.
  void wait_enter();

  // In-memory read: a real number from an 8-character text standing for one
  // line. Nothing after the number is examined.
  void read_internal(const std::array<char, 8>& text, float& target);

  [[noreturn]] void fatal(Failure failure, Origin origin, Format format);

 private:
  template <typename T>
  void read_number(T& target);
  void deliver_if_full() {
    if (pending_.size() >= kDeliverSize) flush();
  }

  static constexpr std::size_t kDeliverSize = 1 << 16;

  Input in_;
  ByteSink& out_;
  ByteSink& err_;
  FatalHook hook_;
  std::string pending_;
};

}  // namespace shell

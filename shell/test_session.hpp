// A console over in-memory streams for tests: the fatal end unwinds with a
// FatalEnd instead of aborting, so the diagnostic can be checked.
#pragma once

#include <string>
#include <string_view>

#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace shell::testing {

struct FatalEnd {};

[[noreturn]] inline void throw_fatal_end() {
  throw FatalEnd{};
}

struct Session {
  explicit Session(std::string_view input, std::size_t piece = 0)
      : text(input), in(text, piece), console(in, out, err, throw_fatal_end) {}

  // Runs a dialogue step; returns the first line of the diagnostic if the
  // step ended fatally, or "" if it returned normally.
  template <typename F>
  std::string run(F&& step) {
    try {
      step();
    } catch (const FatalEnd&) {
      return err.text.substr(0, err.text.find('\n'));
    }
    console.flush();
    return "";
  }

  std::string text;  // the session's own copy of its input
  MemorySource in;
  StringSink out;
  StringSink err;
  Console console;
};

}  // namespace shell::testing

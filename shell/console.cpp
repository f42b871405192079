#include "morvelstandrik/shell/console.hpp"

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdlib>
#include <iterator>
#include <type_traits>

namespace shell {

namespace {

// What-text and reason-text of each failure, in the order of Failure.
struct Reason {
  std::string_view what, reason;
};
constexpr Reason kReasons[] = {
    {"read start", "end of file"},
    {"list in", "end of file"},
    {"fmt", "end of file"},
    {"invalid number", "incomprehensible list input"},
    {"invalid integer", "read unexpected character"},
    {"exponent field", "incomprehensible list input"},
    {"bad repetition count", "incomprehensible list input"},
};
static_assert(std::size(kReasons) ==
              static_cast<std::size_t>(Failure::kBadRepeat) + 1);

}  // namespace

std::string diagnostic(Failure failure, Origin origin, Format format) {
  const Reason& r = kReasons[static_cast<std::size_t>(failure)];
  const bool internal = origin == Origin::kInternal;
  std::string text;
  text.append(r.what).append(": ").append(r.reason).append("\n");
  text.append(internal ? "apparent state: internal I/O\n"
                       : "apparent state: unit 5 (unnamed)\n");
  text.append(format == Format::kList ? "last format: list io\n"
                                      : "last format: (a)\n");
  text.append("lately reading sequential formatted ")
      .append(internal ? "internal" : "external")
      .append(" IO\n");
  return text;
}

Console::Console(ByteSource& in, ByteSink& out, ByteSink& err, FatalHook hook)
    : in_(in), out_(out), err_(err), hook_(hook) {
  pending_.reserve(kDeliverSize + 4096);
}

void Console::flush() {
  if (pending_.empty()) return;
  out_.write(pending_);
  pending_.clear();
}

void Console::fatal(Failure failure, Origin origin, Format format) {
  err_.write(diagnostic(failure, origin, format));
  flush();
  if (hook_ != nullptr) hook_();
    // A mistyped entry is not a crash: the run still ends abnormally, by
    // SIGABRT, but leaves no core file behind and gives crash reporters
    // nothing to collect.
#ifndef _WIN32
  const rlimit no_core_file{0, 0};
  ::setrlimit(RLIMIT_CORE, &no_core_file);
#endif
  std::abort();
}

template <typename T>
void Console::read_number(T& target) {
  flush();
  if (in_.ended()) {
    fatal(Failure::kReadStart, Origin::kStandardInput, Format::kList);
  }
  const Scan scan = scan_number(in_, std::is_integral_v<T>);
  if (scan.kind == Scan::Kind::kFailed) {
    fatal(scan.failure, Origin::kStandardInput, Format::kList);
  }
  if (scan.kind == Scan::Kind::kValue) {
    if constexpr (std::is_integral_v<T>) {
      target = to_integer(scan.value);
    } else {
      target = static_cast<float>(scan.value);
    }
  }
  if (scan.hit_end || !in_.discard_line()) in_.mark_ended();
}

void Console::read(std::int32_t& target) {
  read_number(target);
}
void Console::read(float& target) {
  read_number(target);
}

void Console::read_line(char* text, std::size_t n) {
  flush();
  if (in_.ended()) {
    fatal(Failure::kReadStart, Origin::kStandardInput, Format::kCharacters);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const int c = in_.get();
    if (c == '\n') {
      for (; i < n; ++i) text[i] = ' ';
      return;
    }
    if (c == Input::kEnd) {
      fatal(Failure::kLineEnd, Origin::kStandardInput, Format::kCharacters);
    }
    text[i] = static_cast<char>(c);
  }
  if (!in_.discard_line()) in_.mark_ended();
}

void Console::skip_line() {
  flush();
  if (in_.ended()) {
    fatal(Failure::kReadStart, Origin::kStandardInput, Format::kList);
  }
  if (!in_.discard_line()) in_.mark_ended();
}

void Console::wait_enter() {
  std::array<char, 1> unused;
  read_line(unused);
}

void Console::read_internal(const std::array<char, 8>& text, float& target) {
  // The text is one line with the end of input right behind it; a carriage
  // return in it is an ordinary character.
  char line[9];
  for (std::size_t i = 0; i < 8; ++i) line[i] = text[i];
  line[8] = '\n';
  MemorySource source(std::string_view(line, sizeof line));
  Input in(source, /*fold_crlf=*/false, sizeof line);
  const Scan scan = scan_number(in, /*integer=*/false);
  if (scan.kind == Scan::Kind::kFailed) {
    fatal(scan.failure, Origin::kInternal, Format::kList);
  }
  if (scan.kind == Scan::Kind::kValue) target = static_cast<float>(scan.value);
}

}  // namespace shell

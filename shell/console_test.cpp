#include "morvelstandrik/shell/console.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "morvelstandrik/shell/test_session.hpp"

namespace shell {
namespace {

using testing::Session;

constexpr std::int32_t kUnset = 4711;
constexpr float kUnsetReal = 47.11f;
const std::int32_t kIntMin = std::numeric_limits<std::int32_t>::min();

// Reads one integer, then a second one from the following line, so that the
// test also sees what the first read left of its line.
struct IntCase {
  const char* input;
  std::int32_t first;     // value after the first read
  const char* diagnosis;  // first diagnostic line, "" when none
};

TEST(ReadNumber, IntegerEntries) {
  const IntCase cases[] = {
      {"7\n", 7, ""},
      {"\n\n   \t\n7\n", 7, ""},  // empty lines skipped, no prompt
      {"  +1\n", 1, ""},
      {"-3\n", -3, ""},
      {"2 1\n", 2, ""},
      {"2,1\n", 2, ""},
      {"12abc\n", 12, ""},
      {"5-3\n", 0, ""},  // 0.005, truncated
      {"5+1\n", 50, ""},
      {"2147483647\n", 2147483647, ""},
      {"2147483648\n", kIntMin, ""},
      {"-2147483649\n", kIntMin, ""},
      {"99999999999999999999\n", kIntMin, ""},
      {",\n", kUnset, ""},
      {"/5\n", kUnset, ""},
      {"3*4\n", 4, ""},
      {"3* 4\n", kUnset, ""},
      {"3*,4\n", kUnset, ""},
      {"3*+\n", kUnset, ""},
      {"1.5\n", kUnset, "invalid integer: read unexpected character"},
      {"1e0\n", kUnset, "invalid integer: read unexpected character"},
      {".5\n", kUnset, "invalid integer: read unexpected character"},
      {"5.\n", kUnset, "invalid integer: read unexpected character"},
      {"abc\n", kUnset, "invalid number: incomprehensible list input"},
      {"+ 1\n", kUnset, "invalid number: incomprehensible list input"},
      {"5-\n", kUnset, "exponent field: incomprehensible list input"},
      {"1+100000000\n", kUnset, "exponent field: incomprehensible list input"},
      {"0*5\n", kUnset, "bad repetition count: incomprehensible list input"},
      {"-2*5\n", kUnset, "bad repetition count: incomprehensible list input"},
      {"*5\n", kUnset, "bad repetition count: incomprehensible list input"},
      {"", kUnset, "list in: end of file"},
      {"\n \n", kUnset, "list in: end of file"},
      {"-", kUnset, "invalid number: incomprehensible list input"},
  };
  for (const IntCase& c : cases) {
    for (std::size_t piece : {0, 1}) {
      Session s(c.input, piece);
      std::int32_t v = kUnset;
      EXPECT_EQ(c.diagnosis, s.run([&] { s.console.read(v); }))
          << c.input << " piece " << piece;
      EXPECT_EQ(c.first, v) << c.input;
      EXPECT_EQ("", s.out.text);
    }
  }
}

struct RealCase {
  const char* input;
  float value;
  const char* diagnosis;
};

TEST(ReadNumber, RealEntries) {
  const float inf = std::numeric_limits<float>::infinity();
  const RealCase cases[] = {
      {".5\n", 0.5f, ""},
      {"5.\n", 5.0f, ""},
      {"2d1\n", 20.0f, ""},
      {"2E1\n", 20.0f, ""},
      {"2e+1\n", 20.0f, ""},
      {"1.5-3\n", 0.0015f, ""},
      {"1.5D-3\n", 0.0015f, ""},
      {"-0.75\n", -0.75f, ""},
      {"0.1\n", 0.1f, ""},
      {"1.2.3\n", 1.2f, ""},
      {"1e000000001\n", 10.0f, ""},
      {"1e99999999\n", inf, ""},
      {"-1e400\n", -inf, ""},
      {"1e-99999999\n", 0.0f, ""},
      {"3.4028235e38\n", std::numeric_limits<float>::max(), ""},
      {"000000000000000000000000000000000000000000000012.5\n", 12.5f, ""},
      {"0.000000000000000000000000000000000000000000000125e47\n", 12.5f, ""},
      // Only 40 significant digits count; more integer digits scale.
      {"12345678901234567890123456789012345678901234567890e-30\n",
       1.2345679e19f, ""},
      {"2*7.5\n", 7.5f, ""},
      {"2*\n", kUnsetReal, ""},
      {",5\n", kUnsetReal, ""},
      {"\t 12 13\n", 12.0f, ""},
      {"7\r\n", 7.0f, ""},
      {".\n", kUnsetReal, "invalid number: incomprehensible list input"},
      {".e5\n", kUnsetReal, "invalid number: incomprehensible list input"},
      {"1e\n", kUnsetReal, "exponent field: incomprehensible list input"},
      {"1e+x\n", kUnsetReal, "exponent field: incomprehensible list input"},
      {"\"5\"\n", kUnsetReal, "invalid number: incomprehensible list input"},
  };
  for (const RealCase& c : cases) {
    Session s(c.input);
    float v = kUnsetReal;
    EXPECT_EQ(c.diagnosis, s.run([&] { s.console.read(v); })) << c.input;
    EXPECT_EQ(c.value, v) << c.input;
  }
}

TEST(ReadNumber, DiscardsTheRestOfTheLine) {
  Session s("12 13\n14,15\n\n,\n  16 junk");
  std::int32_t a = 0, b = 0, c = 0, d = 0;
  EXPECT_EQ("", s.run([&] {
    s.console.read(a);
    s.console.read(b);
    s.console.read(c);  // "," gives no value
    s.console.read(d);
  }));
  EXPECT_EQ(12, a);
  EXPECT_EQ(14, b);
  EXPECT_EQ(0, c);
  EXPECT_EQ(16, d);
  // The last line had no newline: the input has ended.
  EXPECT_EQ("read start: end of file", s.run([&] { s.console.read(a); }));
}

TEST(ReadNumber, BinaryBytesAreNotNumbers) {
  Session s(std::string_view("\0\xff\n", 3));
  float v = 1.0f;
  EXPECT_EQ("invalid number: incomprehensible list input",
            s.run([&] { s.console.read(v); }));
}

TEST(ReadNumber, RepeatPrefixAtTheEndOfInput) {
  Session s("2*");
  float v = 3.0f;
  EXPECT_EQ("", s.run([&] { s.console.read(v); }));
  EXPECT_EQ(3.0f, v);
  EXPECT_EQ("read start: end of file", s.run([&] { s.console.read(v); }));
}

TEST(LineRead, TakesFirstCharactersAndBlankFills) {
  struct Case {
    const char* input;
    std::string text;
    const char* diagnosis;
  } cases[] = {
      {"abc\nnext\n", "abc     ", ""},
      {"abcdefghijk\nnext\n", "abcdefgh", ""},
      {"\nnext\n", "        ", ""},
      {"a\tb\x01\xf5\nnext\n", "a\tb\x01\xf5   ", ""},
      {"ab\r\nnext\n", "ab      ", ""},
      {"ab\rc\nnext\n", "ab\rc    ", ""},
      {"abcdefgh", "abcdefgh", ""},
      {"abc", "", "fmt: end of file"},
      {"", "", "fmt: end of file"},
  };
  for (const Case& c : cases) {
    Session s(c.input, 1);
    std::array<char, 8> text{};
    EXPECT_EQ(c.diagnosis, s.run([&] { s.console.read_line(text); }))
        << c.input;
    if (*c.diagnosis == '\0') {
      EXPECT_EQ(c.text, std::string(text.data(), 8)) << c.input;
    }
  }
  // NUL bytes are ordinary characters of a line.
  Session s(std::string_view("a\0b\n", 4));
  std::array<char, 8> text{};
  s.run([&] { s.console.read_line(text); });
  EXPECT_EQ(std::string("a\0b     ", 8), std::string(text.data(), 8));
}

TEST(LineRead, NextReadStartsOnTheFollowingLine) {
  Session s("abcdefghijk\n42\n");
  std::array<char, 8> text{};
  std::int32_t v = 0;
  EXPECT_EQ("", s.run([&] {
    s.console.read_line(text);
    s.console.read(v);
  }));
  EXPECT_EQ(42, v);
}

TEST(SkipLine, EndOfInputFailsOnlyTheNextRead) {
  Session s("whatever 123");
  std::int32_t v = 0;
  EXPECT_EQ("", s.run([&] { s.console.skip_line(); }));
  EXPECT_EQ("read start: end of file", s.run([&] { s.console.read(v); }));
  EXPECT_EQ(
      "read start: end of file\n"
      "apparent state: unit 5 (unnamed)\n"
      "last format: list io\n"
      "lately reading sequential formatted external IO\n",
      s.err.text);
}

TEST(WaitEnter, IsALineRead) {
  Session s("", 0);
  EXPECT_EQ("fmt: end of file", s.run([&] { s.console.wait_enter(); }));
  EXPECT_EQ(
      "fmt: end of file\n"
      "apparent state: unit 5 (unnamed)\n"
      "last format: (a)\n"
      "lately reading sequential formatted external IO\n",
      s.err.text);
  Session t("anything\n1\n");
  std::int32_t v = 0;
  EXPECT_EQ("", t.run([&] {
    t.console.wait_enter();
    t.console.read(v);
  }));
  EXPECT_EQ(1, v);
}

TEST(InternalRead, ReadsEightCharacters) {
  struct Case {
    const char* text;
    float value;
    const char* diagnosis;
  } cases[] = {
      {"25      ", 25.0f, ""},
      {"12345678", 12345678.0f, ""},
      {"1,000   ", 1.0f, ""},
      {"1 000   ", 1.0f, ""},
      {"12abc   ", 12.0f, ""},
      {"1.2.3   ", 1.2f, ""},
      {",       ", kUnsetReal, ""},
      {"       /", kUnsetReal, ""},
      {"2*      ", kUnsetReal, ""},
      {"      2*", kUnsetReal, ""},
      {"-1e7    ", -1e7f, ""},
      {"abc     ", kUnsetReal, "invalid number: incomprehensible list input"},
      {"+       ", kUnsetReal, "invalid number: incomprehensible list input"},
      {"5-      ", kUnsetReal, "exponent field: incomprehensible list input"},
      {"      1e", kUnsetReal, "exponent field: incomprehensible list input"},
      {"0*5     ", kUnsetReal,
       "bad repetition count: incomprehensible list input"},
      {"\t       ", kUnsetReal, "list in: end of file"},
  };
  for (const Case& c : cases) {
    Session s("");
    std::array<char, 8> text;
    std::copy(c.text, c.text + 8, text.begin());
    float v = kUnsetReal;
    EXPECT_EQ(c.diagnosis, s.run([&] { s.console.read_internal(text, v); }))
        << c.text;
    EXPECT_EQ(c.value, v) << c.text;
  }
}

TEST(Diagnostic, InternalReadNamesInternalIo) {
  EXPECT_EQ(
      "list in: end of file\n"
      "apparent state: internal I/O\n"
      "last format: list io\n"
      "lately reading sequential formatted internal IO\n",
      diagnostic(Failure::kListEnd, Origin::kInternal, Format::kList));
  EXPECT_EQ(
      "invalid number: incomprehensible list input\n"
      "apparent state: unit 5 (unnamed)\n"
      "last format: list io\n"
      "lately reading sequential formatted external IO\n",
      diagnostic(Failure::kNoNumber, Origin::kStandardInput, Format::kList));
}

// A source that checks, whenever the console asks for input, that every
// record written so far has reached the output.
class WatchingSource final : public ByteSource {
 public:
  WatchingSource(std::string_view text, const StringSink& out)
      : text_(text), out_(out) {}
  std::size_t read(char* buf, std::size_t cap) override {
    if (reads_++ == 0) seen_ = out_.text;
    const std::size_t n = std::min(cap, text_.size());
    std::copy(text_.begin(), text_.begin() + static_cast<long>(n), buf);
    text_.remove_prefix(n);
    return n;
  }
  std::string seen_;

 private:
  std::string_view text_;
  const StringSink& out_;
  int reads_ = 0;
};

TEST(Console, DeliversOutputBeforeWaitingForInput) {
  StringSink out, err;
  WatchingSource in("5\n", out);
  Console console(in, out, err);
  console.list({"Input:"});
  console.empty(2);
  EXPECT_EQ("", out.text);  // buffered, not written line by line
  std::int32_t v = 0;
  console.read(v);
  EXPECT_EQ(" Input:\n\n\n", in.seen_);
  EXPECT_EQ(5, v);
}

}  // namespace
}  // namespace shell

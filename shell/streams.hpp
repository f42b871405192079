// Byte streams under the console: standard input and output by file
// descriptor, and in-memory stand-ins for tests and the fuzz drivers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace shell {

// A source of input bytes. read() fills at most cap bytes and returns how
// many it gave; 0 means the input has ended. Bytes are passed unchanged (NUL
// and bytes above 0x7F included).
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::size_t read(char* buf, std::size_t cap) = 0;
};

// A destination for output bytes, written unchanged.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(std::string_view bytes) = 0;
};

// Reads a file descriptor (standard input: 0). Interrupted reads are retried;
// a read error counts as the end of input, and error() keeps its errno.
class FdSource final : public ByteSource {
 public:
  explicit FdSource(int fd) : fd_(fd) {}
  std::size_t read(char* buf, std::size_t cap) override;
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

// Writes a file descriptor completely, retrying interrupted and partial
// writes. Once a write fails the sink drops everything further.
class FdSink : public ByteSink {
 public:
  explicit FdSink(int fd) : fd_(fd) {}
  void write(std::string_view bytes) override;
  bool failed() const { return error_ != 0; }
  int error() const { return error_; }

 private:
  int fd_;
  int error_ = 0;
};

// Standard output of the program. Output that cannot be delivered ends the
// program, since nothing it does can be seen any more: a broken pipe ends
// it as the pipe's signal does (also when that signal is ignored), any
// other failure (output closed, disk full) with a notice on standard error
// and exit status 2, so that a lost or cut report never passes for a
// finished one.
class StandardOutput final : public FdSink {
 public:
  StandardOutput() : FdSink(1) {}
  void write(std::string_view bytes) override;
};

// Serves a fixed text, optionally in small pieces so that tests can check
// that nothing depends on how the bytes arrive.
class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string_view text, std::size_t piece = 0)
      : text_(text), piece_(piece) {}
  std::size_t read(char* buf, std::size_t cap) override;

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t piece_;
};

// Collects everything written into a string.
class StringSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

}  // namespace shell

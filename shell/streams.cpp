#include "morvelstandrik/shell/streams.hpp"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace shell {
namespace {

// Windows' read() and write() take an unsigned int count; a larger
// request is cut to 1 GiB, and the loops below go on with the rest.
std::size_t io_count(std::size_t n) {
#ifdef _WIN32
  return std::min<std::size_t>(n, std::size_t{1} << 30);
#else
  return n;
#endif
}

}  // namespace

std::size_t FdSource::read(char* buf, std::size_t cap) {
  for (;;) {
    const ssize_t got = ::read(fd_, buf, io_count(cap));
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) {
      error_ = errno;
      return 0;
    }
  }
}

void FdSink::write(std::string_view bytes) {
  while (error_ == 0 && !bytes.empty()) {
    const ssize_t put = ::write(fd_, bytes.data(), io_count(bytes.size()));
    if (put > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(put));
    } else if (put < 0 && errno == EINTR) {
      continue;
    } else {
      error_ = put < 0 ? errno : EIO;
    }
  }
}

void StandardOutput::write(std::string_view bytes) {
  FdSink::write(bytes);
  if (!failed()) return;
  if (error() == EPIPE) {
#ifdef SIGPIPE
    ::signal(SIGPIPE, SIG_DFL);
    ::raise(SIGPIPE);
#else
    // Windows has no such signal: end as quietly, with the status a shell
    // reports for it on Linux (128 + SIGPIPE).
    std::_Exit(141);
#endif
  }
  const char* reason = std::strerror(error());
  const std::string notice =
      std::string("morvelstandrik: standard output: ") + reason + "\n";
  FdSink(2).write(notice);
  std::_Exit(2);
}

std::size_t MemorySource::read(char* buf, std::size_t cap) {
  std::size_t n = std::min(cap, text_.size() - pos_);
  if (piece_ > 0) n = std::min(n, piece_);
  if (n == 0) return 0;  // an empty text may have no storage at all
  std::memcpy(buf, text_.data() + pos_, n);
  pos_ += n;
  return n;
}

}  // namespace shell

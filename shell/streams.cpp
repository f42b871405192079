#include "shell/streams.hpp"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace shell {

std::size_t FdSource::read(char* buf, std::size_t cap) {
  for (;;) {
    const ssize_t got = ::read(fd_, buf, cap);
    if (got >= 0) return static_cast<std::size_t>(got);
    if (errno != EINTR) return 0;
  }
}

void FdSink::write(std::string_view bytes) {
  while (!failed_ && !bytes.empty()) {
    const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
    if (put > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(put));
    } else if (put < 0 && errno == EINTR) {
      continue;
    } else {
      failed_ = true;
    }
  }
}

std::size_t MemorySource::read(char* buf, std::size_t cap) {
  std::size_t n = std::min(cap, text_.size() - pos_);
  if (piece_ > 0) n = std::min(n, piece_);
  std::memcpy(buf, text_.data() + pos_, n);
  pos_ += n;
  return n;
}

}  // namespace shell

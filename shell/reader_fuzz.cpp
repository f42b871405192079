// Fuzz target: free-form number reads, line reads and skipped lines over
// arbitrary bytes. The first byte chooses the order of the reads, the
// second how the bytes trickle in; the rest is standard input. Every run
// must end in one of the read diagnostics, with no crash or hang, and no
// read may deliver a value that is not a number.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/shell/test_session.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  const unsigned plan = data[0];
  const std::size_t piece = data[1] % 5;  // 0: as much as fits
  const std::string_view input(reinterpret_cast<const char*>(data + 2),
                               size - 2);
  shell::testing::Session s(input, piece);
  bool ended = false;
  try {
    for (unsigned k = 0;; ++k) {
      switch ((plan >> (2 * (k % 4))) & 3u) {
        case 0: {
          std::int32_t v = 0;
          s.console.read(v);
          break;
        }
        case 1: {
          float v = 0.0f;
          s.console.read(v);
          if (std::isnan(v)) std::abort();
          break;
        }
        case 2: {
          std::array<char, 8> text;
          s.console.read_line(text);
          s.console.list({std::string_view(text.data(), text.size())});
          break;
        }
        default:
          s.console.skip_line();
          break;
      }
    }
  } catch (const shell::testing::FatalEnd&) {
    ended = true;
  }
  // The diagnostic is four lines, nothing more.
  std::size_t lines = 0;
  for (char c : s.err.text) lines += c == '\n';
  if (!ended || lines != 4 || s.err.text.back() != '\n') std::abort();
  return 0;
}

// Fuzz target: number entry over arbitrary lines, and the in-memory read of
// arbitrary 8-character texts. An entry either keeps the default or gives a
// number within -999999 ... 999999, or the run ends with a diagnostic.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "morvelstandrik/shell/readit.hpp"
#include "morvelstandrik/shell/test_session.hpp"

namespace {

bool in_limits(float v) {
  return v >= -999999.0f && v <= 999999.0f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::array<char, 8> text;
  text.fill(' ');
  std::memcpy(text.data(), data, size < 8 ? size : 8);
  {
    shell::testing::Session s("");
    float v = 1.5f;
    try {
      s.console.read_internal(text, v);
      if (std::isnan(v)) std::abort();
    } catch (const shell::testing::FatalEnd&) {
      if (v != 1.5f) std::abort();  // a failed read leaves the target alone
    }
  }
  shell::testing::Session s(
      std::string_view(reinterpret_cast<const char*>(data), size));
  float xxx = 15.0f;
  try {
    for (;;) {
      const float before = xxx;
      shell::readit(s.console, xxx);
      if (xxx != before && !in_limits(xxx)) std::abort();
    }
  } catch (const shell::testing::FatalEnd&) {
  }
  return 0;
}

#include "morvelstandrik/shell/readit.hpp"

#include <array>
#include <string_view>

namespace shell {

void readit(Console& console, float& xxx) {
  constexpr float kUpper = 999999.0f;
  constexpr float kLower = -999999.0f;
  std::array<char, 8> bbb;
  bbb.fill(' ');
  console.record("('        [ Default: ',F10.1,' ].    Input=')", {xxx});
  std::array<char, 8> aaa;
  console.read_line(aaa);
  console.list({std::string_view(aaa.data(), aaa.size())});
  if (aaa == bbb) return;
  console.read_internal(aaa, xxx);
  if (xxx > kUpper) xxx = kUpper;
  if (xxx < kLower) xxx = kLower;
}

}  // namespace shell

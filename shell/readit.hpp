// Number entry with a shown default.
#pragma once

#include "morvelstandrik/shell/console.hpp"

namespace shell {

// Shows xxx as the default, reads one line and echoes its first 8
// characters. Eight blanks keep the default untouched; otherwise the 8
// characters are read as a real number (no value keeps the default) and
// the result is limited to -999999 ... 999999.
//   default 15, entry "25"  -> prompt "        [ Default:       15.0 ].
//   Input=",
//                              echo " 25      ", xxx = 25
//   entry "1e7" -> 999999;  empty entry -> default, echo of 9 blanks
void readit(Console& console, float& xxx);

}  // namespace shell

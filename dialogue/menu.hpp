// The main menu: the program's top level.
#pragma once

#include "morvelstandrik/shell/console.hpp"

namespace dialogue {

// A calculation that the menu runs; it returns when the user leaves it.
using Calculation = void (*)(shell::Console&);

// Draws the menu screen (51 empty lines, the title, the two choices), reads
// the choice and runs the wind-sea calculation (1) or the swell calculation
// (2), redrawing after each and after any other number. Returns after the
// end banner once 0 is chosen; the program then ends with status 0.
//   main_menu(console, dialogue::ocean, dialogue::swell)
void main_menu(shell::Console& console, Calculation ocean, Calculation swell);

}  // namespace dialogue

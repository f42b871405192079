// Menu choice 2: the swell calculation dialogue.
#pragma once

#include "morvelstandrik/shell/console.hpp"

namespace dialogue {

// Asks for the period and height of an observed swell, shows the speed
// (with Beaufort force) and distance of the wind field that raised it, waits
// for ENTER and asks again. A period below 0.1 s returns to the menu.
void swell(shell::Console& console);

}  // namespace dialogue

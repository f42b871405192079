// Menu choice 1: the wind-sea calculation dialogue.
#pragma once

#include "morvelstandrik/shell/console.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace dialogue {

// Shows the introduction, then runs cycles: five number entries (wind,
// duration, fetch, depth, current) clamped to the model's ranges, the
// report with its warnings, the development table where the report allows
// it, and a closing prompt. A wind of 0.01 kt or less, or an answer of "0",
// "x" or "q", leaves to the menu. A wind below -0.5 kt switches to the
// relative-wind model for the rest of this call.
void ocean(shell::Console& console);

// Prints the report for one cycle's limited entries and, where its warnings
// allow, the development table.
void windsea_report(shell::Console& console, const windsea::Conditions& in);

}  // namespace dialogue

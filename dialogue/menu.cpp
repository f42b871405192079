#include "morvelstandrik/dialogue/menu.hpp"

#include <cstdint>

namespace dialogue {

void main_menu(shell::Console& console, Calculation ocean, Calculation swell) {
  // No choice has been read yet: an entry without a value at the first
  // prompt counts as an invalid choice and redraws the menu.
  std::int32_t indx = -1;
  for (;;) {
    console.empty();
    console.empty(50);
    console.list(
        {" ~~~~~~~~~~~~~~~~~~  MORVELSTANDRIK  <v11>  ~~~~~~~~~~~~~~~~~ "});
    console.empty(2);
    console.list({"This program performs two types of calculations for"});
    console.list({"wind, waves, distances, depths and currents:"});
    console.empty();
    console.list(
        {"[1]: Calculate Waveheight from Wind, Duration of Wind, Fetch,",
         "     Depth of Water and Current"});
    console.empty();
    console.list({"[2]: Calculate Speed and Distance of a Windfield ",
                  "     from the Period and Height of the Swell"});
    console.empty(2);
    console.list({"Now chose by entering  1  or  2  [or 0 for end]:"});
    console.read(indx);
    if (indx == 0) break;
    if (indx > 2) continue;
    if (indx == 1) ocean(console);
    if (indx == 2) swell(console);
  }
  console.list({" ~~~~~~ END of MORVELSTANDRIK ~~~~~~~~"});
  console.flush();
}

}  // namespace dialogue

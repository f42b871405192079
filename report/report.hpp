// The report renderer: turns the engines' results into the records the
// dialogue prints, byte for byte. The dialogue, the command line's text
// output and the browser page all print through it. Values the model cannot
// give show as asterisks, as the report has always shown them.
#pragma once

#include <string>
#include <string_view>

#include "morvelstandrik/swell/engine.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace report {

// Appends the wind-sea report: from the title line
// "  ~~~~~~~~~~~~~~ Height of Ocean Waves ~~~~~~~~~~~~~~~ " through the last
// warning, or through the development table where the report has one.
//   20 kt, 10 h, 100 km, 10 m, 0 kt -> 20 lines, the 12th
//   "    [Sea Sickness Probability= 17 Percent]"
void windsea(std::string& out, const windsea::Report& r);

// Appends the swell result: from " Period of the Swell =" through the last
// line that describes the wind field.
//   (10, 3) -> ... " Windspeed = 30. kt, Bft=  7;   Distance =  400. km"
void swell(std::string& out, const swell::Field& f);

// The same, by the kind of result.
inline void render(std::string& out, const windsea::Report& r) {
  windsea(out, r);
}
inline void render(std::string& out, const swell::Field& f) {
  swell(out, f);
}

}  // namespace report

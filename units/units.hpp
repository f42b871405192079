// Units at the user's side: the table of quantities (wind, fetch, depth,
// height), the units a sailor may give them in and the factors to the
// engines' units (knots, kilometres, metres, metres). Plain functions of
// numbers, no input or output, so every front end (command line, Python,
// the page) converts the same way.
//
// The conversion rule, one for every unit: the factor is held in double
// precision (the double nearest the exact ratio, written as a ratio of
// exact integers), the value is taken as a double (the double the number
// parser gives from the text; a float widens to it exactly), multiplied by
// the factor once in double, and the product is rounded once to single
// precision. The engine's own unit has the factor 1, so a value in knots,
// kilometres or metres gives exactly the float that the number parser
// alone gives.
//   to_engine(*find(Quantity::wind, "m/s"), 10.0).value
//     -> 19.4384441f (10 * 3600/1852 = 19.4384449244... rounded to float)
//   to_engine(*find(Quantity::fetch, "nmi"), 1.0).value -> 1.852f
//   to_engine(*find(Quantity::wind, "bft"), 5.0).value -> 19.0f
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace units {

// A quantity that the user enters in a unit of their choice.
enum class Quantity : std::uint8_t { wind, fetch, depth, height };

// A unit of one quantity.
struct Unit {
  std::string_view name;  // as the user writes it: "m/s"
  Quantity quantity;
  // Engine units per one of this unit (knots per m/s: 3600/1852), and its
  // inverse for showing an engine value in this unit; both 0 for the
  // Beaufort scale, which goes through its table instead.
  double factor;
  double inverse;
};

// Every unit, grouped by quantity in the order of Quantity, each quantity's
// engine unit first: kt m/s km/h mph bft | km nmi mi | m ft fathom | m ft.
std::span<const Unit> table();

// The quantity's name in messages: "wind", "fetch", "depth", "height".
std::string_view quantity_name(Quantity q);

// The engine's unit of a quantity (the default): "kt", "km", "m", "m".
const Unit& engine_unit(Quantity q);

// The unit of a quantity named exactly (case and all) as in the table, or
// nullptr when there is none.
//   find(Quantity::depth, "fathom")->factor -> 1.8288
//   find(Quantity::fetch, "ft") -> nullptr, find(Quantity::wind, "KT") ->
//   nullptr
const Unit* find(Quantity q, std::string_view name);

// The names of a quantity's units for a message: "kt, m/s, km/h, mph or
// bft"; "m or ft".
std::string allowed(Quantity q);

// The Beaufort scale in whole knots: force n covers the wind speeds from
// low_kt to high_kt as reported in whole knots (the WMO scale: 0 below 1,
// 1 to 3, 4 to 6, 7 to 10, 11 to 16, 17 to 21, 22 to 27, 28 to 33, 34 to
// 40, 41 to 47, 48 to 55, 56 to 63, 64 and over), and a force given by a
// sailor stands for the mean of its range, (low_kt + high_kt) / 2. Force 12
// has no upper limit and stands for its lower one, 64 kt.
//   beaufort_scale()[3] -> {3, 7, 10, 8.5f}
struct Force {
  std::int32_t force;
  std::int32_t low_kt;
  std::int32_t high_kt;  // -1 for force 12: no upper limit
  float mean_kt;         // what the force stands for
};
std::span<const Force> beaufort_scale();  // forces 0 to 12, in order

// A value converted, or why it cannot be: a text that follows the quoted
// value in a message ("is not a whole Beaufort force from 0 to 12"), empty
// when the value is good.
struct Conversion {
  float value = 0.0f;
  std::string_view problem;
};

// A value given in unit u, in the engine's unit, by the rule above.
// Refused: a value that is not finite, or whose product is too large for a
// float ("is not a finite number"); in bft, anything but a whole force
// from 0 to 12 (10.0 is force 10; 3.5, -1 and 13 are refused). Signs pass
// through; the engines' ranges are not this module's business.
//   to_engine(*find(Quantity::depth, "ft"), 10.0).value -> 3.048f
//   to_engine(*find(Quantity::wind, "kt"), 0.1).value -> 0.1f
//   to_engine(*find(Quantity::wind, "bft"), 12.5).problem -> "is not a
//   whole Beaufort force from 0 to 12"
Conversion to_engine(const Unit& u, double value);

// An engine value shown in unit u (a height or a length in m or ft, say),
// by the same rule with the inverse factor: the float widened, times the
// inverse once in double, rounded once to float. Refused as above for a
// value that is not finite; the Beaufort scale has no way back ("has no
// value in Beaufort forces").
//   from_engine(*find(Quantity::height, "ft"), 1.0f).value -> 3.28083992f
Conversion from_engine(const Unit& u, float value);

}  // namespace units

// The command table: one entry per engine, with the numbers it reads (as
// arguments, as options and as batch columns), how a case is checked and
// computed, and how its result is walked and rendered. The argument
// parser, the help, the batch columns and the messages all come from it, so
// a new entry or a new engine is added here and nowhere in the front end.
//   find("windsea")->entries[2] -> {"FETCH", "fetch", "fetch_km", "KM", ...}
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "morvelstandrik/fields/fields.hpp"
#include "morvelstandrik/swell/engine.hpp"
#include "morvelstandrik/units/units.hpp"
#include "morvelstandrik/windsea/engine.hpp"

namespace cli {

// The most numbers a command reads for one case.
inline constexpr std::size_t kMaxEntries = 5;

// One number of a case.
struct Entry {
  std::string_view argument;      // positional argument, as messages name it
  std::string_view option;        // named option, without the dashes
  std::string_view column;        // batch column
  std::string_view type;          // the unit as the help shows it: KNOTS
  std::string_view help;          // what it is, its range, its rules
  std::optional<float> fallback;  // its value when left out; none: required
  // The model's range (values outside are limited, or refused below);
  // none where it is open.
  std::optional<float> low, high;
  std::string_view unit;  // of the range: "kt"
  // Why a value that reads as a number is refused: a text that follows the
  // quoted value ("is negative; ..."), or empty when it is taken.
  std::string_view (*refuse)(float value);
  // The quantity whose unit the user may choose for it (--wind-unit on the
  // command line, a column wind_ms in a batch); none where the unit above
  // is the only one. The range, the refusals and the results stay in the
  // unit above, the engine's: a value in another unit is converted first.
  std::optional<units::Quantity> quantity;
};

// The option that chooses the unit of a quantity, without its dashes:
//   unit_option(units::Quantity::wind) -> "wind-unit"
std::string unit_option(units::Quantity q);

// The batch column of an entry given in unit u: the quantity's name and the
// unit's without its slash, as a column name must be plain:
//   wind in m/s -> "wind_ms", fetch in nmi -> "fetch_nmi", depth in m ->
//   "depth_m" (the engine's unit gives the entry's own column)
std::string unit_column(const units::Unit& u);

// What a case computes to.
using Result = std::variant<windsea::Report, swell::Field>;

struct Command {
  std::string_view name;     // the subcommand: "windsea"
  std::string_view summary;  // its help
  std::span<const Entry> entries;
  // The batch column (and with it the --relative flag) that chooses the
  // model; empty for an engine with one model.
  std::string_view model_column;
  // Computes a case whose values are all read and checked, one value per
  // entry in the table's order.
  Result (*compute)(std::span<const float> values, windsea::Model model);
  // The end of its help: what its results mean where a name may mislead,
  // and examples, each line "  morvelstandrik ..." or "  printf '...' |
  // morvelstandrik ..." (the help's examples are run by the tests).
  std::string_view footer;
};

// The commands, in the order the help lists them.
std::span<const Command> commands();

// The entry of a command that is the fetch (column fetch_km), which a
// coastline may give in its place; none for a command without one.
std::optional<std::size_t> fetch_entry(const Command& c);

// The usage of a command's arguments: "WIND DURATION FETCH DEPTH [CURRENT]".
std::string arguments_usage(const Command& c);

// The fields of a result, as its engine walks them.
void walk(fields::FieldVisitor& v, const Result& r);
// The column names of a command's results: the field names joined with
// dots (deep_water.height_m), in the walk's order.
std::span<const std::string> result_columns(const Command& c);
// Appends the text report of a result, as the dialogue prints it.
void render(std::string& text, const Result& r);
// The notes that limiting raised for a result (none for the swell).
windsea::Notes notes(const Result& r);
// Those notes as lines for standard error, each after the program's name:
//   "morvelstandrik: note: duration below 1 h: used as 1 h\n"
std::string note_lines(const Result& r);

}  // namespace cli

// The page's way into the engines, without the command line's text: a
// case's typed entries are read, checked and computed by the command line's
// own row pipeline (so an entry is refused in the same words), and the
// result comes back as numbers in one array, one slot per field of the
// engine's walk, with the report as the dialogue prints it beside them.
// The schema tells the page's script which slot holds which field. The
// units table comes along: entries in a sailor's units (converted before
// the range rules, as the command line's unit options do) and heights and
// lengths shown in feet.
#include <emscripten/emscripten.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/shortest.hpp"
#include "morvelstandrik/units/units.hpp"

namespace {

constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

// Writes each field of a walk into the next slot: numbers and whole
// numbers as they are, a choice as its index, flags as their bits, a list
// as 1 (present) or 0; NaN where the model gives no value. With decimal
// set, a float goes in as the double its shortest text reads as (what
// JSON.parse makes of the command line's JSON: 1.7441f -> 1.7441), so the
// page formats the same figure the command line writes; without it, as the
// float widened (exact, and cheaper for the many rows of a chart).
class Slots final : public fields::FieldVisitor {
 public:
  Slots(std::vector<double>& out, bool decimal)
      : out_(out), decimal_(decimal) {}
  void number(std::string_view, std::string_view,
              std::optional<float> v) override {
    if (!v || !std::isfinite(*v)) {
      out_.push_back(kNoValue);
    } else if (decimal_) {
      out_.push_back(std::strtod(cli::shortest(*v).c_str(), nullptr));
    } else {
      out_.push_back(static_cast<double>(*v));
    }
  }
  void integer(std::string_view, std::string_view,
               std::optional<std::int32_t> v) override {
    out_.push_back(v ? static_cast<double>(*v) : kNoValue);
  }
  void choice(std::string_view, std::span<const fields::Coded>,
              std::size_t index) override {
    out_.push_back(static_cast<double>(index));
  }
  void flags(std::string_view, std::span<const fields::Coded>,
             std::uint32_t present) override {
    out_.push_back(static_cast<double>(present));
  }
  void begin(std::string_view) override {}
  void end() override {}
  void begin_list(std::string_view, bool present) override {
    out_.push_back(present ? 1.0 : 0.0);
  }
  void end_list() override {}

 private:
  std::vector<double>& out_;
  bool decimal_;
};

// Describes a walk as JSON: one item per step, ["number", name],
// ["integer", name], ["choice", name, codes], ["flags", name, codes],
// ["begin", name], ["end"], ["list", name], ["end_list"], where codes are
// [code, text] pairs. Every step but begin, end and end_list takes a slot.
class Steps final : public fields::FieldVisitor {
 public:
  explicit Steps(cli::Json& j) : j_(j) {}
  void number(std::string_view name, std::string_view,
              std::optional<float>) override {
    step("number", name);
  }
  void integer(std::string_view name, std::string_view,
               std::optional<std::int32_t>) override {
    step("integer", name);
  }
  void choice(std::string_view name, std::span<const fields::Coded> codes,
              std::size_t) override {
    coded("choice", name, codes);
  }
  void flags(std::string_view name, std::span<const fields::Coded> codes,
             std::uint32_t) override {
    coded("flags", name, codes);
  }
  void begin(std::string_view name) override { step("begin", name); }
  void end() override { step("end", {}); }
  void begin_list(std::string_view name, bool) override { step("list", name); }
  void end_list() override { step("end_list", {}); }

 private:
  void open(std::string_view kind, std::string_view name) {
    j_.begin_array();
    j_.text(kind);
    if (!name.empty()) j_.text(name);
  }
  void step(std::string_view kind, std::string_view name) {
    open(kind, name);
    j_.end_array();
  }
  void coded(std::string_view kind, std::string_view name,
             std::span<const fields::Coded> codes) {
    open(kind, name);
    j_.begin_array();
    for (const fields::Coded& c : codes) {
      j_.begin_array();
      j_.text(c.code);
      j_.text(c.text);
      j_.end_array();
    }
    j_.end_array();
    j_.end_array();
  }
  cli::Json& j_;
};

// The last case computed, for a sweep over one of its entries: its texts
// and units as given.
struct Last {
  const cli::Command* command = nullptr;
  std::string texts[cli::kMaxEntries];
  const units::Unit* unit[cli::kMaxEntries] = {};
  windsea::Model model = windsea::Model::kDeepWater;
};

std::string schema_text;
std::vector<double> values;
std::string report_text;
std::string problem_text;
int refused_entry = -1;
Last last;
std::vector<double> sweep_values;

// The texts of the last case, each named by its option (--wind) as the
// command line names them, in the units they were given in.
cli::CaseTexts last_texts(std::string (&names)[cli::kMaxEntries]) {
  cli::CaseTexts t;
  t.model = last.model;
  for (std::size_t i = 0; i < last.command->entries.size(); ++i) {
    t.text[i] = last.texts[i];
    names[i] = "--" + std::string(last.command->entries[i].option);
    t.name[i] = names[i];
    t.unit[i] = last.unit[i];
  }
  return t;
}

// The unit named NAME of an entry, or none for its own unit (then the
// value is read as the command line reads it without a unit option).
const units::Unit* unit_of(const cli::Entry& e, std::string_view name) {
  if (!e.quantity || name.empty()) return nullptr;
  const units::Unit* u = units::find(*e.quantity, name);
  return u == &units::engine_unit(*e.quantity) ? nullptr : u;
}

}  // namespace

extern "C" {

// The commands and the units as JSON. {"commands": [{"name", "entries":
// [{"option", "unit" (the engine's: "kt"), "low", "high" (its range, null
// where open), "quantity" (null, or the number of the quantity whose unit
// the user chooses)}], "walk" (see Steps)}], "units": [{"name",
// "quantity"}]}: commands in the order of their numbers, units in the
// table's order, each quantity's engine unit first.
EMSCRIPTEN_KEEPALIVE const char* morvel_schema() {
  if (!schema_text.empty()) return schema_text.c_str();
  cli::Json j(schema_text);
  j.begin_object();
  j.key("commands").begin_array();
  for (const cli::Command& c : cli::commands()) {
    j.begin_object();
    j.key("name").text(c.name);
    j.key("entries").begin_array();
    for (const cli::Entry& e : c.entries) {
      j.begin_object();
      j.key("option").text(e.option);
      j.key("unit").text(e.unit);
      j.key("low").number(e.low);
      j.key("high").number(e.high);
      j.key("quantity");
      if (e.quantity) {
        j.integer(static_cast<std::int64_t>(*e.quantity));
      } else {
        j.null();
      }
      j.end_object();
    }
    j.end_array();
    // The walk names the same fields whatever the values.
    const float ones[cli::kMaxEntries] = {1, 1, 1, 1, 1};
    j.key("walk").begin_array();
    Steps steps(j);
    cli::walk(steps,
              c.compute({ones, c.entries.size()}, windsea::Model::kDeepWater));
    j.end_array();
    j.end_object();
  }
  j.end_array();
  j.key("units").begin_array();
  for (const units::Unit& u : units::table()) {
    j.begin_object();
    j.key("name").text(u.name);
    j.key("quantity").integer(static_cast<std::int64_t>(u.quantity));
    j.end_object();
  }
  j.end_array();
  j.end_object();
  return schema_text.c_str();
}

// Reads, checks and computes one case of command number COMMAND: TEXTS
// holds the typed entries, one a line, all of them in the order of the
// command's entries (an empty line is an empty entry, refused as such);
// UNITS the unit of each, one a line (an empty line: the entry's own), by
// the units table's names; RELATIVE chooses the sea raised by the wind
// relative to the water. A value in another unit is converted before the
// range rules, once, as the command line's --wind-unit and the like do.
// Returns 0 with the result's slots and report ready, or 1 with the
// refused entry's number and the reason ("is not a number").
//   windsea "20\n10\n100\n10\n0", "" -> 0, wave.height_m 1.7441, the
//   report
//   windsea "20\n10,5\n100\n10\n0", "" -> 1, entry 1, "is not a number;
//   use a decimal point"
//   windsea "10\n10\n100\n10\n0", "m/s" -> 0, wind_kt 19.438444
EMSCRIPTEN_KEEPALIVE int morvel_case(int command, const char* texts,
                                     const char* unit_names, int relative) {
  const cli::Command& c = cli::commands()[static_cast<std::size_t>(command)];
  last = Last{};
  last.command = &c;
  last.model =
      relative ? windsea::Model::kRelativeWind : windsea::Model::kDeepWater;
  std::string_view rest(texts);
  std::string_view rest_units(unit_names);
  auto line = [](std::string_view& from) {
    const std::size_t end = from.find('\n');
    const std::string_view got = from.substr(0, end);
    from = end == std::string_view::npos ? std::string_view()
                                         : from.substr(end + 1);
    return got;
  };
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    last.texts[i] = line(rest);
    last.unit[i] = unit_of(c.entries[i], line(rest_units));
  }
  values.clear();
  report_text.clear();
  problem_text.clear();
  refused_entry = -1;
  std::string names[cli::kMaxEntries];
  const std::variant<cli::Result, cli::Refusal> got =
      cli::evaluate(c, last_texts(names));
  if (const auto* refusal = std::get_if<cli::Refusal>(&got)) {
    refused_entry = static_cast<int>(refusal->entry);
    problem_text = refusal->problem;
    last.command = nullptr;
    return 1;
  }
  const cli::Result& result = std::get<cli::Result>(got);
  Slots slots(values, true);
  cli::walk(slots, result);
  cli::render(report_text, result);
  return 0;
}

// The last case's result: one slot per field of the walk.
EMSCRIPTEN_KEEPALIVE const double* morvel_values() {
  return values.data();
}
// The last case's report, single bytes (the grounding record holds 0xF5).
EMSCRIPTEN_KEEPALIVE const char* morvel_report() {
  return report_text.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t morvel_report_size() {
  return report_text.size();
}
// The refused entry's number in the command's entries (or the number of
// entries for the model), and why, as UTF-8 text without a final stop.
EMSCRIPTEN_KEEPALIVE int morvel_refused_entry() {
  return refused_entry;
}
EMSCRIPTEN_KEEPALIVE const char* morvel_problem() {
  return problem_text.c_str();
}

// The last computed case again for each whole value FROM to TO of its entry
// number ENTRY (in that entry's unit), the other entries as they were: the
// batch row of those texts, one row of slots per value (floats widened, not
// rounded to their shortest text), NaN throughout for a row refused.
// Returns the number of rows, 0 when no case was computed.
//   after windsea 20 10 100 10 0: morvel_sweep(1, 1, 200) -> 200 rows, the
//   10th the same sea as the case itself
EMSCRIPTEN_KEEPALIVE int morvel_sweep(int entry, int from, int to) {
  sweep_values.clear();
  if (!last.command || entry < 0 ||
      static_cast<std::size_t>(entry) >= last.command->entries.size()) {
    return 0;
  }
  const auto at = static_cast<std::size_t>(entry);
  const std::size_t width = values.size();
  std::string names[cli::kMaxEntries];
  cli::CaseTexts t = last_texts(names);
  int rows = 0;
  for (int x = from; x <= to; ++x, ++rows) {
    const std::string text = std::to_string(x);
    t.text[at] = text;
    const std::variant<cli::Result, cli::Refusal> got =
        cli::evaluate(*last.command, t);
    if (const auto* result = std::get_if<cli::Result>(&got)) {
      Slots slots(sweep_values, false);
      cli::walk(slots, *result);
    } else {
      sweep_values.insert(sweep_values.end(), width, kNoValue);
    }
  }
  return rows;
}
EMSCRIPTEN_KEEPALIVE const double* morvel_sweep_values() {
  return sweep_values.data();
}

// The number in the units table of the unit named NAME of quantity number
// QUANTITY, or -1 when it has none of that name.
//   morvel_unit(3, "ft") -> 12 (height in feet)
EMSCRIPTEN_KEEPALIVE int morvel_unit(int quantity, const char* name) {
  const units::Unit* u =
      units::find(static_cast<units::Quantity>(quantity), name);
  return u ? static_cast<int>(u - units::table().data()) : -1;
}

// An engine value (a height in metres, say) shown in unit number UNIT of
// the table: the float widened, times the unit's inverse factor, rounded
// once to float; NaN where there is none (a value that is not finite, or
// the Beaufort scale). With DECIMAL, the double the float's shortest text
// reads as (as the result's slots hold figures), else the float widened.
//   morvel_from_engine(12, 1.0, 0) -> 3.28083992 (1 m in feet)
//   morvel_from_engine(12, 1.0, 1) -> 3.28084
EMSCRIPTEN_KEEPALIVE double morvel_from_engine(int unit, double value,
                                               int decimal) {
  const units::Conversion c =
      units::from_engine(units::table()[static_cast<std::size_t>(unit)],
                         static_cast<float>(value));
  if (!c.problem.empty()) return kNoValue;
  return decimal ? std::strtod(cli::shortest(c.value).c_str(), nullptr)
                 : static_cast<double>(c.value);
}

}  // extern "C"

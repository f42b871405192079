#include "morvelstandrik/cli/commands.hpp"

#include <string>
#include <vector>

#include "morvelstandrik/report/report.hpp"

namespace cli {
namespace {

// Reading a negative wind as the other model is a rule of the dialogue:
// here the model is said, and a negative wind is refused.
std::string_view refuse_wind(float knots) {
  if (knots < 0.0f) {
    return "is negative; give the wind's speed (and --relative, or the "
           "model relative-wind, for the sea raised by the wind relative to "
           "the water)";
  }
  if (!windsea::raises_sea(knots)) {
    return "raises no sea; give a wind above 0.01 kt";
  }
  return {};
}

std::string_view refuse_period(float seconds) {
  if (seconds < swell::kShortestPeriod) {
    return "is shorter than the 0.1 s the swell table starts at";
  }
  return {};
}

// A swell of no height tells of no wind field: the table would give one.
std::string_view refuse_height(float metres) {
  if (!(metres > 0.0f)) return "is not positive; give a height above 0 m";
  return {};
}

std::string_view take_any(float) {
  return {};
}

constexpr Entry kWindSeaEntries[] = {
    {"WIND", "wind", "wind_kt", "KNOTS",
     "wind speed, knots: 1 to 65, compressed above 65 and at most 70",
     std::nullopt, 1.0f, 65.0f, "kt", refuse_wind, units::Quantity::wind},
    {"DURATION", "duration", "duration_h", "HOURS",
     "duration of the wind, hours: 1 to 200", std::nullopt, 1.0f, 200.0f, "h",
     take_any, std::nullopt},
    {"FETCH", "fetch", "fetch_km", "KM", "fetch, km: 1 to 5000", std::nullopt,
     1.0f, 5000.0f, "km", take_any, units::Quantity::fetch},
    {"DEPTH", "depth", "depth_m", "M", "water depth, m: 1 to 5000",
     std::nullopt, 1.0f, 5000.0f, "m", take_any, units::Quantity::depth},
    {"CURRENT", "current", "current_kt", "KNOTS",
     "current, knots: -15 to 15, positive with the wind, negative against "
     "it; 0 when left out (above 1000: taken as 0)",
     0.0f, -15.0f, 15.0f, "kt", take_any, std::nullopt},
};

constexpr Entry kSwellEntries[] = {
    {"PERIOD", "period", "period_s", "SECONDS",
     "period of the swell, seconds: 0.1 or more", std::nullopt, 0.1f,
     std::nullopt, "s", refuse_period, std::nullopt},
    {"HEIGHT", "height", "height_m", "METRES",
     "height of the swell, metres: above 0", std::nullopt, 0.0f, std::nullopt,
     "m", refuse_height, units::Quantity::height},
};

Result compute_windsea(std::span<const float> v, windsea::Model model) {
  const windsea::LimitedConditions limited =
      windsea::limit({v[0], v[1], v[2], v[3], v[4], model});
  windsea::Report r = windsea::evaluate(limited.used);
  r.notes = limited.notes;
  return r;
}

Result compute_swell(std::span<const float> v, windsea::Model) {
  return swell::infer(v[0], v[1]);
}

constexpr Command kCommands[] = {
    {"windsea",
     "The wind sea from wind, duration, fetch, depth and current. Entries "
     "outside the model's ranges are limited, with a note.",
     kWindSeaEntries, "model", compute_windsea,
     "Status and warnings are two different things:\n"
     "  status   the model's outcome for the wave it computed in this depth\n"
     "           and current: ok, breaking (the wave exceeds a breaking\n"
     "           limit of steepness or depth) or blocked (no wave passes).\n"
     "           Filter on it for the cases the model could not carry\n"
     "           through unchanged.\n"
     "  warnings what the report warns a sailor of: grounding, shoal,\n"
     "           steep or breaking seas, hazardous breakers, capsizing.\n"
     "           Filter on it for the seas to beware of.\n"
     "\n"
     "Examples:\n"
     "  morvelstandrik windsea 20 10 100 10 --format json\n"
     "  printf 'Wind_kt;duration_h;fetch_km;depth_m\\n20;10;100;12,5\\n' | "
     "morvelstandrik windsea --batch - --delimiter ';'\n"
     "  printf '20 10 100 10\\n25,6,40,8,-1\\n' | morvelstandrik windsea "
     "--lines --format csv\n"},
    {"swell",
     "The wind field behind an observed swell: speed, Beaufort force and "
     "distance.",
     kSwellEntries, "", compute_swell,
     "Examples:\n"
     "  morvelstandrik swell 10 3\n"
     "  printf 'id,period_s,height_m\\nA,10,3\\nB,12,2\\n' | "
     "morvelstandrik swell --batch -\n"
     "  printf '10 3\\n12 2\\n' | morvelstandrik swell --lines --format "
     "json\n"},
};
static_assert(std::size(kWindSeaEntries) <= kMaxEntries);
static_assert(std::size(kSwellEntries) <= kMaxEntries);

// The column names: the field names joined with dots.
class ColumnNames final : public fields::FieldVisitor {
 public:
  void number(std::string_view name, std::string_view,
              std::optional<float>) override {
    add(name);
  }
  void integer(std::string_view name, std::string_view,
               std::optional<std::int32_t>) override {
    add(name);
  }
  void choice(std::string_view name, std::span<const fields::Coded>,
              std::size_t) override {
    add(name);
  }
  void flags(std::string_view name, std::span<const fields::Coded>,
             std::uint32_t) override {
    add(name);
  }
  void begin(std::string_view name) override { path_.emplace_back(name); }
  void end() override { path_.pop_back(); }
  void begin_list(std::string_view name, bool) override {
    path_.emplace_back(name);
  }
  void end_list() override { path_.pop_back(); }
  std::vector<std::string> names;

 private:
  void add(std::string_view name) {
    std::string joined;
    for (const std::string& p : path_) joined.append(p).append(".");
    names.push_back(joined.append(name));
  }
  std::vector<std::string> path_;
};

template <typename... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <typename... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace

std::span<const Command> commands() {
  return kCommands;
}

std::string unit_option(units::Quantity q) {
  return std::string(units::quantity_name(q)) + "-unit";
}

std::string unit_column(const units::Unit& u) {
  std::string column(units::quantity_name(u.quantity));
  column += '_';
  for (char ch : u.name) {
    if (ch != '/') column += ch;
  }
  return column;
}

std::optional<std::size_t> fetch_entry(const Command& c) {
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    if (c.entries[i].column == "fetch_km") return i;
  }
  return std::nullopt;
}

std::string arguments_usage(const Command& c) {
  std::string usage;
  for (const Entry& e : c.entries) {
    if (!usage.empty()) usage += ' ';
    usage += e.fallback ? "[" + std::string(e.argument) + "]"
                        : std::string(e.argument);
  }
  return usage;
}

void walk(fields::FieldVisitor& v, const Result& r) {
  std::visit([&v](const auto& result) { walk(v, result); }, r);
}

std::span<const std::string> result_columns(const Command& c) {
  // Walked once for each command, on a result of the command's own kind
  // (its values do not matter).
  static const std::vector<std::vector<std::string>> all = [] {
    std::vector<std::vector<std::string>> names;
    const float ones[kMaxEntries] = {1, 1, 1, 1, 1};
    for (const Command& command : kCommands) {
      ColumnNames n;
      walk(n, command.compute({ones, command.entries.size()},
                              windsea::Model::kDeepWater));
      names.push_back(std::move(n.names));
    }
    return names;
  }();
  return all[static_cast<std::size_t>(&c - kCommands)];
}

void render(std::string& text, const Result& r) {
  std::visit([&text](const auto& result) { report::render(text, result); }, r);
}

std::string note_lines(const Result& r) {
  std::string said;
  const windsea::Notes given = notes(r);
  for (int i = 0; i < windsea::kNoteCount; ++i) {
    const auto n = static_cast<windsea::Note>(i);
    if (given.has(n)) {
      said.append("morvelstandrik: note: ");
      said.append(windsea::text(n)).append("\n");
    }
  }
  return said;
}

windsea::Notes notes(const Result& r) {
  return std::visit(Overloaded{
                        [](const windsea::Report& w) { return w.notes; },
                        [](const swell::Field&) { return windsea::Notes{}; },
                    },
                    r);
}

}  // namespace cli

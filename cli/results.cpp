#include "morvelstandrik/cli/results.hpp"

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "morvelstandrik/report/report.hpp"

namespace cli {
namespace {

using windsea::Note;

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

template <typename F>
void each_note(windsea::Notes notes, F&& f) {
  for (int i = 0; i < windsea::kNoteCount; ++i) {
    const auto n = static_cast<Note>(i);
    if (notes.has(n)) f(n);
  }
}

// One walk over a result's fields, in column order. The JSON members, the
// CSV cells and the CSV column names all come from it, so the formats keep
// the same fields in the same order.
class Fields {
 public:
  struct Coded {
    std::string_view code, text;
  };
  virtual void number(std::string_view name, std::optional<float> v) = 0;
  virtual void integer(std::string_view name,
                       std::optional<std::int32_t> v) = 0;
  virtual void text(std::string_view name, std::string_view v) = 0;
  // Notes or warnings: their codes, each with its text.
  virtual void coded(std::string_view name,
                     const std::vector<Coded>& items) = 0;
  // A record of fields under a name (deep_water), or an item of a list.
  virtual void begin(std::string_view name) = 0;
  virtual void end() = 0;
  // A list of records; when it is not present, its items are walked all
  // the same (for the column names), but their values are none.
  virtual void begin_list(std::string_view name, bool present) = 0;
  virtual void end_list() = 0;

 protected:
  ~Fields() = default;
};

void walk(Fields& f, const windsea::Report& r, windsea::Notes notes) {
  std::vector<Fields::Coded> coded;
  f.number("wind_kt", r.in.wind);
  f.integer("beaufort", r.beaufort);
  f.number("duration_h", r.in.dura);
  f.number("fetch_km", r.in.fetch);
  f.number("depth_m", r.in.depth);
  f.number("current_kt", r.in.curr);
  f.text("model", windsea::code(r.in.model));
  each_note(notes, [&](Note n) {
    coded.push_back({windsea::code(n), report::note_text(n)});
  });
  f.coded("notes", coded);
  f.begin("deep_water");
  f.number("height_m", r.deep.height);
  f.number("period_s", r.deep.period);
  f.number("length_m", r.deep.length);
  f.end();
  f.begin("wave");
  f.number("height_m", r.height);
  f.number("length_m", r.length);
  f.number("period_s", r.period);
  f.end();
  f.text("status", windsea::code(r.status));
  f.number("steepness", r.steepness);
  f.number("factor", r.factor);
  f.number("stopping_current_kt", r.stopping_current);
  f.integer("sea_sickness_percent", r.sea_sickness);
  coded.clear();
  for (windsea::Warning w : r.warnings()) {
    coded.push_back({windsea::code(w), trimmed(report::warning_text(w))});
  }
  f.coded("warnings", coded);
  f.begin_list("development", r.development.has_value());
  static constexpr std::string_view items[] = {"0", "1", "2"};
  for (std::size_t i = 0; i < 3; ++i) {
    const windsea::Horizon h =
        r.development ? (*r.development)[i] : windsea::Horizon{};
    f.begin(items[i]);
    f.integer("hours", h.hours);
    f.integer("waves", h.waves);
    f.number("height_m", h.height);
    f.number("hmax_m", h.hmax);
    f.integer("sea_scale", h.sea_scale);
    f.end();
  }
  f.end_list();
  f.integer("waves_per_hour", r.waves_per_hour);
  f.text("limited_by", windsea::code(r.limited_by));
  f.number("fully_developed_height_m", r.fully_developed_height);
}

void walk(Fields& f, const swell::Field& field) {
  f.number("period_s", field.period);
  f.number("height_m", field.height);
  f.text("outcome", swell::code(field.outcome));
  f.number("wind_kt", field.wind);
  f.integer("beaufort", field.beaufort);
  f.number("distance_km", field.distance);
  f.number("distance_shown_km", field.distance_shown);
}

// Members of an open JSON object; null for a value the model cannot give.
class JsonFields final : public Fields {
 public:
  explicit JsonFields(Json& j) : j_(j) {}
  void number(std::string_view name, std::optional<float> v) override {
    if (!muted_) member(name).number(v);
  }
  void integer(std::string_view name, std::optional<std::int32_t> v) override {
    if (!muted_) member(name).integer(v);
  }
  void text(std::string_view name, std::string_view v) override {
    if (!muted_) member(name).text(v);
  }
  void coded(std::string_view name, const std::vector<Coded>& items) override {
    if (muted_) return;
    member(name).begin_array();
    for (const Coded& c : items) {
      j_.begin_object();
      j_.key("code").text(c.code);
      j_.key("text").text(c.text);
      j_.end_object();
    }
    j_.end_array();
  }
  void begin(std::string_view name) override {
    if (muted_) return;
    (in_list_.back() ? j_ : member(name)).begin_object();
    in_list_.push_back(false);
  }
  void end() override {
    if (muted_) return;
    j_.end_object();
    in_list_.pop_back();
  }
  void begin_list(std::string_view name, bool present) override {
    if (!present) {
      member(name).null();
      muted_ = true;
      return;
    }
    member(name).begin_array();
    in_list_.push_back(true);
  }
  void end_list() override {
    if (muted_) {
      muted_ = false;
      return;
    }
    j_.end_array();
    in_list_.pop_back();
  }

 private:
  Json& member(std::string_view name) { return j_.key(name); }
  Json& j_;
  std::vector<bool> in_list_{false};  // per open record or list
  bool muted_ = false;                // inside a list that is not present
};

// Cells of a CSV row: empty where there is no value (or none that is
// finite); codes joined with ';'.
class CsvCells final : public Fields {
 public:
  explicit CsvCells(std::vector<std::string>& cells) : cells_(cells) {}
  void number(std::string_view, std::optional<float> v) override {
    add(v && std::isfinite(*v) ? shortest(*v) : std::string());
  }
  void integer(std::string_view, std::optional<std::int32_t> v) override {
    add(v ? std::to_string(*v) : std::string());
  }
  void text(std::string_view, std::string_view v) override {
    add(std::string(v));
  }
  void coded(std::string_view, const std::vector<Coded>& items) override {
    std::string codes;
    for (const Coded& c : items) {
      if (!codes.empty()) codes += ';';
      codes += c.code;
    }
    add(std::move(codes));
  }
  void begin(std::string_view) override {}
  void end() override {}
  void begin_list(std::string_view, bool present) override {
    blank_ = !present;
  }
  void end_list() override { blank_ = false; }

 private:
  void add(std::string cell) {
    cells_.push_back(blank_ ? std::string() : std::move(cell));
  }
  std::vector<std::string>& cells_;
  bool blank_ = false;  // inside a list that is not present
};

// The CSV column names: the JSON names joined with dots.
class ColumnNames final : public Fields {
 public:
  void number(std::string_view name, std::optional<float>) override {
    add(name);
  }
  void integer(std::string_view name, std::optional<std::int32_t>) override {
    add(name);
  }
  void text(std::string_view name, std::string_view) override { add(name); }
  void coded(std::string_view name, const std::vector<Coded>&) override {
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

template <typename Result>
std::vector<std::string> column_names() {
  ColumnNames n;
  if constexpr (std::is_same_v<Result, windsea::Report>) {
    walk(n, windsea::Report{}, windsea::Notes{});
  } else {
    walk(n, Result{});
  }
  return n.names;
}

}  // namespace

void windsea_json(Json& j, const windsea::Report& r, windsea::Notes notes) {
  JsonFields f(j);
  walk(f, r, notes);
}

void swell_json(Json& j, const swell::Field& field) {
  JsonFields f(j);
  walk(f, field);
}

std::span<const std::string> windsea_columns() {
  static const std::vector<std::string> names = column_names<windsea::Report>();
  return names;
}
std::span<const std::string> swell_columns() {
  static const std::vector<std::string> names = column_names<swell::Field>();
  return names;
}

void windsea_cells(std::vector<std::string>& cells, const windsea::Report& r,
                   windsea::Notes notes) {
  CsvCells f(cells);
  walk(f, r, notes);
}

void swell_cells(std::vector<std::string>& cells, const swell::Field& field) {
  CsvCells f(cells);
  walk(f, field);
}

}  // namespace cli

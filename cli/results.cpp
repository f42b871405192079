#include "morvelstandrik/cli/results.hpp"

#include <cmath>

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

// A number cell: empty where there is no value (or none that is finite).
std::string num(float v) {
  return std::isfinite(v) ? shortest(v) : "";
}
std::string cell(std::optional<float> v) {
  return v ? num(*v) : "";
}
std::string cell(std::optional<std::int32_t> v) {
  return v ? std::to_string(*v) : std::string();
}

constexpr std::string_view kWindSeaColumns[] = {
    "wind_kt",
    "beaufort",
    "duration_h",
    "fetch_km",
    "depth_m",
    "current_kt",
    "model",
    "notes",
    "deep_water.height_m",
    "deep_water.period_s",
    "deep_water.length_m",
    "wave.height_m",
    "wave.length_m",
    "wave.period_s",
    "status",
    "steepness",
    "factor",
    "stopping_current_kt",
    "sea_sickness_percent",
    "warnings",
    "development.0.hours",
    "development.0.waves",
    "development.0.height_m",
    "development.0.hmax_m",
    "development.0.sea_scale",
    "development.1.hours",
    "development.1.waves",
    "development.1.height_m",
    "development.1.hmax_m",
    "development.1.sea_scale",
    "development.2.hours",
    "development.2.waves",
    "development.2.height_m",
    "development.2.hmax_m",
    "development.2.sea_scale",
    "waves_per_hour",
    "limited_by",
    "fully_developed_height_m",
};

constexpr std::string_view kSwellColumns[] = {
    "period_s", "height_m",    "outcome",           "wind_kt",
    "beaufort", "distance_km", "distance_shown_km",
};

}  // namespace

void windsea_json(Json& j, const windsea::Report& r, windsea::Notes notes) {
  j.key("wind_kt").number(r.in.wind);
  j.key("beaufort").integer(r.beaufort);
  j.key("duration_h").number(r.in.dura);
  j.key("fetch_km").number(r.in.fetch);
  j.key("depth_m").number(r.in.depth);
  j.key("current_kt").number(r.in.curr);
  j.key("model").text(windsea::code(r.in.model));
  j.key("notes").begin_array();
  each_note(notes, [&](Note n) {
    j.begin_object();
    j.key("code").text(windsea::code(n));
    j.key("text").text(report::note_text(n));
    j.end_object();
  });
  j.end_array();
  j.key("deep_water").begin_object();
  j.key("height_m").number(r.deep.height);
  j.key("period_s").number(r.deep.period);
  j.key("length_m").number(r.deep.length);
  j.end_object();
  j.key("wave").begin_object();
  j.key("height_m").number(r.height);
  j.key("length_m").number(r.length);
  j.key("period_s").number(r.period);
  j.end_object();
  j.key("status").text(windsea::code(r.status));
  j.key("steepness").number(r.steepness);
  j.key("factor").number(r.factor);
  j.key("stopping_current_kt").number(r.stopping_current);
  j.key("sea_sickness_percent").integer(r.sea_sickness);
  j.key("warnings").begin_array();
  for (windsea::Warning w : r.warnings()) {
    j.begin_object();
    j.key("code").text(windsea::code(w));
    j.key("text").text(trimmed(report::warning_text(w)));
    j.end_object();
  }
  j.end_array();
  j.key("development");
  if (r.development) {
    j.begin_array();
    for (const windsea::Horizon& h : *r.development) {
      j.begin_object();
      j.key("hours").integer(h.hours);
      j.key("waves").integer(h.waves);
      j.key("height_m").number(h.height);
      j.key("hmax_m").number(h.hmax);
      j.key("sea_scale").integer(h.sea_scale);
      j.end_object();
    }
    j.end_array();
  } else {
    j.null();
  }
  j.key("waves_per_hour").integer(r.waves_per_hour);
  j.key("limited_by").text(windsea::code(r.limited_by));
  j.key("fully_developed_height_m").number(r.fully_developed_height);
}

void swell_json(Json& j, const swell::Field& f) {
  j.key("period_s").number(f.period);
  j.key("height_m").number(f.height);
  j.key("outcome").text(swell::code(f.outcome));
  j.key("wind_kt").number(f.wind);
  j.key("beaufort").integer(f.beaufort);
  j.key("distance_km").number(f.distance);
  j.key("distance_shown_km").number(f.distance_shown);
}

std::span<const std::string_view> windsea_columns() {
  return kWindSeaColumns;
}
std::span<const std::string_view> swell_columns() {
  return kSwellColumns;
}

void windsea_cells(std::vector<std::string>& cells, const windsea::Report& r,
                   windsea::Notes notes) {
  auto add = [&cells](std::string s) { cells.push_back(std::move(s)); };
  add(num(r.in.wind));
  add(std::to_string(r.beaufort));
  add(num(r.in.dura));
  add(num(r.in.fetch));
  add(num(r.in.depth));
  add(num(r.in.curr));
  add(std::string(windsea::code(r.in.model)));
  std::string codes;
  each_note(notes, [&](Note n) {
    if (!codes.empty()) codes += ';';
    codes += windsea::code(n);
  });
  add(codes);
  add(num(r.deep.height));
  add(num(r.deep.period));
  add(num(r.deep.length));
  add(cell(r.height));
  add(cell(r.length));
  add(num(r.period));
  add(std::string(windsea::code(r.status)));
  add(cell(r.steepness));
  add(cell(r.factor));
  add(num(r.stopping_current));
  add(cell(r.sea_sickness));
  codes.clear();
  for (windsea::Warning w : r.warnings()) {
    if (!codes.empty()) codes += ';';
    codes += windsea::code(w);
  }
  add(codes);
  for (int i = 0; i < 3; ++i) {
    if (r.development) {
      const windsea::Horizon& h = (*r.development)[static_cast<std::size_t>(i)];
      add(std::to_string(h.hours));
      add(std::to_string(h.waves));
      add(cell(h.height));
      add(cell(h.hmax));
      add(cell(h.sea_scale));
    } else {
      for (int k = 0; k < 5; ++k) add("");
    }
  }
  add(std::to_string(r.waves_per_hour));
  add(std::string(windsea::code(r.limited_by)));
  add(num(r.fully_developed_height));
}

void swell_cells(std::vector<std::string>& cells, const swell::Field& f) {
  cells.push_back(num(f.period));
  cells.push_back(num(f.height));
  cells.push_back(std::string(swell::code(f.outcome)));
  cells.push_back(num(f.wind));
  cells.push_back(std::to_string(f.beaufort));
  cells.push_back(num(f.distance));
  cells.push_back(num(f.distance_shown));
}

}  // namespace cli

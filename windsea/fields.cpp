// The walk over a wind-sea report: the one list of its fields.
#include <array>

#include "morvelstandrik/windsea/engine.hpp"

namespace windsea {
namespace {

// The warnings as machine-readable output gives them: their texts without
// the blanks that place them on the report's page.
std::array<fields::Coded, kWarningCount> trimmed_warnings() {
  std::array<fields::Coded, kWarningCount> t{};
  for (std::size_t i = 0; i < t.size(); ++i) {
    t[i] = warnings()[i];
    t[i].text = fields::trim(t[i].text);
  }
  return t;
}

std::uint32_t warning_set(const Report& r) {
  std::uint32_t set = 0;
  for (Warning w : r.warnings()) set |= 1u << static_cast<unsigned>(w);
  return set;
}

std::uint32_t note_set(Notes notes) {
  std::uint32_t set = 0;
  for (int i = 0; i < kNoteCount; ++i) {
    if (notes.has(static_cast<Note>(i))) set |= 1u << i;
  }
  return set;
}

void horizon(fields::FieldVisitor& v, std::string_view item, const Horizon& h) {
  v.begin(item);
  v.integer("hours", "h", h.hours);
  v.integer("waves", "1", h.waves);
  v.number("height_m", "m", h.height);
  v.number("hmax_m", "m", h.hmax);
  v.integer("sea_scale", "1", h.sea_scale);
  v.end();
}

}  // namespace

void walk(fields::FieldVisitor& v, const Report& r) {
  static const std::array<fields::Coded, kWarningCount> warning_texts =
      trimmed_warnings();
  v.number("wind_kt", "kt", r.in.wind);
  v.integer("beaufort", "Bft", r.beaufort);
  v.number("duration_h", "h", r.in.dura);
  v.number("fetch_km", "km", r.in.fetch);
  v.number("depth_m", "m", r.in.depth);
  v.number("current_kt", "kt", r.in.curr);
  v.choice("model", models(), static_cast<std::size_t>(r.in.model));
  v.flags("notes", notes(), note_set(r.notes));
  v.begin("deep_water");
  v.number("height_m", "m", r.deep.height);
  v.number("period_s", "s", r.deep.period);
  v.number("length_m", "m", r.deep.length);
  v.end();
  v.begin("wave");
  v.number("height_m", "m", r.height);
  v.number("length_m", "m", r.length);
  v.number("period_s", "s", r.period);
  v.end();
  v.choice("status", statuses(), static_cast<std::size_t>(r.status));
  v.number("steepness", "1", r.steepness.value());
  v.number("factor", "1", r.factor.value());
  v.number("stopping_current_kt", "kt", r.stopping_current);
  v.integer("sea_sickness_percent", "%", r.sea_sickness.value());
  v.flags("warnings", warning_texts, warning_set(r));
  v.begin_list("development", r.development.has_value());
  static constexpr std::string_view items[] = {"0", "1", "2"};
  for (std::size_t i = 0; i < 3; ++i) {
    horizon(v, items[i], r.development ? (*r.development)[i] : Horizon{});
  }
  v.end_list();
  v.integer("waves_per_hour", "1/h", r.waves_per_hour);
  v.choice("limited_by", growth_limits(),
           static_cast<std::size_t>(r.limited_by));
  v.number("fully_developed_height_m", "m", r.fully_developed_height);
}

}  // namespace windsea

#include "morvelstandrik/cli/pipeline.hpp"

#include <cctype>

#include "morvelstandrik/cli/number.hpp"

namespace cli {
namespace {

std::optional<windsea::Model> model_named(std::string_view name) {
  const auto models = windsea::models();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].code == name) return static_cast<windsea::Model>(i);
  }
  return std::nullopt;
}

// Column names match in any letter case: spreadsheets capitalize them.
bool same_name(std::string_view column, std::string_view name) {
  if (column.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != column[i]) {
      return false;
    }
  }
  return true;
}

// "found: a, b; expected: wind_kt, ..., and optionally current_kt, model"
std::string found_and_expected(const Command& c,
                               std::span<const std::string> header) {
  constexpr std::size_t kShown = 16;  // names of a wide header shown
  std::string found, required, optional;
  for (std::size_t i = 0; i < header.size() && i < kShown; ++i) {
    found.append(i > 0 ? ", " : "").append(fields::trim(header[i]));
  }
  if (header.size() > kShown) found += ", ...";
  for (const Entry& e : c.entries) {
    std::string& list = e.fallback ? optional : required;
    list.append(list.empty() ? "" : ", ").append(e.column);
  }
  if (!c.model_column.empty()) {
    optional.append(optional.empty() ? "" : ", ").append(c.model_column);
  }
  std::string said = "found: " + found + "; expected: " + required;
  if (!optional.empty()) said += ", and optionally " + optional;
  return said;
}

// The unit other than the entry's own that a column name gives it
// (wind_ms), or none.
const units::Unit* unit_named(const Entry& e, std::string_view name) {
  if (!e.quantity) return nullptr;
  const units::Unit& own = units::engine_unit(*e.quantity);
  for (const units::Unit& u : units::table()) {
    if (u.quantity == *e.quantity && &u != &own &&
        same_name(unit_column(u), name)) {
      return &u;
    }
  }
  return nullptr;
}

Refusal refused(std::size_t entry, std::string_view name,
                std::optional<std::string_view> given, std::string problem) {
  Refusal r;
  r.entry = entry;
  r.name = name;
  if (given) r.given = std::string(*given);
  r.problem = std::move(problem);
  return r;
}

}  // namespace

std::string Refusal::message() const {
  if (!given) return name + " " + problem;
  return name + ": '" + *given + "' " + problem;
}

// A case is checked in the order people read the messages: an entry left
// out, the model, each text's grammar, then the rules on the values.
std::variant<Result, Refusal> evaluate(const Command& c, const CaseTexts& t) {
  const std::size_t n = c.entries.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!t.text[i] && !c.entries[i].fallback) {
      return refused(i, t.name[i], std::nullopt,
                     "is missing; give " + arguments_usage(c));
    }
  }
  windsea::Model model = t.model;
  if (t.model_text && !fields::trim(*t.model_text).empty()) {
    const std::optional<windsea::Model> m =
        model_named(fields::trim(*t.model_text));
    if (!m) {
      return refused(Refusal::kModel, c.model_column, t.model_text,
                     "is not a model; use deep-water or relative-wind");
    }
    model = *m;
  }
  float values[kMaxEntries] = {};
  for (std::size_t i = 0; i < n; ++i) {
    if (!t.text[i]) {
      values[i] = *c.entries[i].fallback;
      continue;
    }
    if (const units::Unit* u = t.unit[i]) {
      const WideNumber v = read_wide_number(*t.text[i], t.decimal_comma);
      if (!v.value) return refused(i, t.name[i], t.text[i], v.problem);
      const units::Conversion converted = units::to_engine(*u, *v.value);
      if (!converted.problem.empty()) {
        return refused(i, t.name[i], t.text[i], std::string(converted.problem));
      }
      values[i] = converted.value;
      continue;
    }
    const Number v = read_number(*t.text[i], t.decimal_comma);
    if (!v.value) return refused(i, t.name[i], t.text[i], v.problem);
    values[i] = *v.value;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view why = c.entries[i].refuse(values[i]);
    if (t.text[i] && !why.empty()) {
      return refused(i, t.name[i], t.text[i], std::string(why));
    }
  }
  return c.compute({values, n}, model);
}

std::string map_header(const Command& c, std::span<const std::string> header,
                       Layout& layout) {
  layout = Layout{};
  layout.at.fill(-1);
  layout.width = header.size();
  const std::size_t n = c.entries.size();
  for (std::size_t i = 0; i < header.size(); ++i) {
    const std::string_view name = fields::trim(header[i]);
    std::size_t k = 0;
    const units::Unit* unit = nullptr;
    while (k < n && !same_name(c.entries[k].column, name) &&
           !(unit = unit_named(c.entries[k], name))) {
      ++k;
    }
    std::ptrdiff_t* at = k < n ? &layout.at[k] : nullptr;
    if (!at && !c.model_column.empty() && same_name(c.model_column, name)) {
      at = &layout.model_at;
    }
    if (!at) {
      layout.carried.push_back(i);
      layout.carried_names.push_back(header[i]);
      continue;
    }
    const std::string column =
        k < n ? (unit ? unit_column(*unit) : std::string(c.entries[k].column))
              : std::string();
    if (*at >= 0) {
      // Two names of one entry: the same quantity in two units.
      const std::string_view first =
          fields::trim(header[static_cast<std::size_t>(*at)]);
      if (k < n && column != layout.column[k]) {
        return "the header gives the " +
               std::string(units::quantity_name(*c.entries[k].quantity)) +
               " twice: " + std::string(first) + " and " + std::string(name) +
               "; keep one of them";
      }
      return "the header names column " + std::string(name) + " twice";
    }
    *at = static_cast<std::ptrdiff_t>(i);
    if (k < n) {
      layout.unit[k] = unit;
      layout.column[k] = column;
    }
  }
  const std::optional<std::size_t> fetch = fetch_entry(c);
  if (fetch && layout.at[*fetch] < 0) {
    std::string found, missing;
    for (std::size_t p = 0; p < kPlaceColumns.size(); ++p) {
      for (std::size_t i = 0; i < header.size(); ++i) {
        if (same_name(kPlaceColumns[p], fields::trim(header[i]))) {
          if (layout.place_at[p] >= 0) {
            return "the header names column " + std::string(kPlaceColumns[p]) +
                   " twice";
          }
          layout.place_at[p] = static_cast<std::ptrdiff_t>(i);
        }
      }
      std::string& list = layout.place_at[p] >= 0 ? found : missing;
      list.append(list.empty() ? "" : ", ").append(kPlaceColumns[p]);
    }
    if (missing.empty()) {
      layout.fetch_from_coast = true;
    } else if (!found.empty()) {
      return "the header has " + found + " but no " + missing +
             ": a fetch from the coastline needs lat, lon and "
             "wind_from_deg (or give fetch_km)";
    }
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (layout.fetch_from_coast && fetch == k) continue;
    if (layout.at[k] < 0 && !c.entries[k].fallback) {
      return "the header has no column " + std::string(c.entries[k].column) +
             " (" + found_and_expected(c, header) + ")";
    }
  }
  return {};
}

CaseTexts row_texts(const Command& c, const Layout& layout, const Record& row,
                    windsea::Model model) {
  CaseTexts t;
  t.model = model;
  t.decimal_comma = layout.decimal_comma;
  auto cell = [&](std::ptrdiff_t at) -> std::optional<std::string_view> {
    // A short line of numbers leaves its last entries out.
    if (at < 0 || static_cast<std::size_t>(at) >= row.fields.size()) {
      return std::nullopt;
    }
    return std::string_view(row.fields[static_cast<std::size_t>(at)]);
  };
  for (std::size_t k = 0; k < c.entries.size(); ++k) {
    t.name[k] = layout.by_argument         ? c.entries[k].argument
                : layout.column[k].empty() ? c.entries[k].column
                                           : std::string_view(layout.column[k]);
    t.unit[k] = layout.unit[k];
    t.text[k] = cell(layout.at[k]);
    if (t.text[k] && c.entries[k].fallback && fields::trim(*t.text[k]).empty())
      t.text[k].reset();
  }
  t.model_text = cell(layout.model_at);
  return t;
}

}  // namespace cli

#include "morvelstandrik/cli/pipeline.hpp"

#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/number.hpp"
#include "morvelstandrik/cli/results.hpp"

namespace cli {
namespace {

std::optional<windsea::Model> model_named(std::string_view name) {
  const auto models = windsea::models();
  for (std::size_t i = 0; i < models.size(); ++i) {
    if (models[i].code == name) return static_cast<windsea::Model>(i);
  }
  return std::nullopt;
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
    const Number v = read_number(*t.text[i]);
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
    while (k < n && c.entries[k].column != name) ++k;
    std::ptrdiff_t* at = k < n ? &layout.at[k] : nullptr;
    if (!at && !c.model_column.empty() && name == c.model_column) {
      at = &layout.model_at;
    }
    if (!at) {
      layout.carried.push_back(i);
      layout.carried_names.push_back(header[i]);
      continue;
    }
    if (*at >= 0) {
      return "the header names column " + std::string(name) + " twice";
    }
    *at = static_cast<std::ptrdiff_t>(i);
  }
  for (std::size_t k = 0; k < n; ++k) {
    if (layout.at[k] < 0 && !c.entries[k].fallback) {
      return "the header has no column " + std::string(c.entries[k].column);
    }
  }
  return {};
}

CaseTexts row_texts(const Command& c, const Layout& layout, const Record& row,
                    windsea::Model model) {
  CaseTexts t;
  t.model = model;
  auto cell = [&](std::ptrdiff_t at) -> std::optional<std::string_view> {
    if (at < 0) return std::nullopt;
    return std::string_view(row.fields[static_cast<std::size_t>(at)]);
  };
  for (std::size_t k = 0; k < c.entries.size(); ++k) {
    t.name[k] = c.entries[k].column;
    t.text[k] = cell(layout.at[k]);
    if (t.text[k] && c.entries[k].fallback && fields::trim(*t.text[k]).empty())
      t.text[k].reset();
  }
  t.model_text = cell(layout.model_at);
  return t;
}

// --- written rows ---------------------------------------------------------

void CsvWriter::header(std::string& out) {
  std::vector<std::string> names = layout_.carried_names;
  const auto columns = result_columns(command_);
  names.insert(names.end(), columns.begin(), columns.end());
  names.emplace_back("error");
  csv_row(out, names);
}

// The result's cells need no quotes: numbers, codes and codes joined with
// ';' hold no comma, quote, line end or blank.
void CsvWriter::row(std::string& out, const Record* row, const Result* result,
                    std::string_view error) {
  for (std::size_t i : layout_.carried) {
    // A short row's missing cells are blank.
    if (row && i < row->fields.size()) csv_cell(out, row->fields[i]);
    out.push_back(',');
  }
  if (result) {
    csv_cells(out, *result);
  } else {
    out.append(result_columns(command_).size(), ',');
  }
  csv_cell(out, error);
  out.push_back('\n');
}

void JsonWriter::header(std::string&) {}

void JsonWriter::row(std::string& out, const Record* row, const Result* result,
                     std::string_view error) {
  Json j(out);
  j.begin_object();
  if (layout_) {
    j.key("line").integer(row ? row->line : 0);
    if (!layout_->carried.empty()) {
      j.key("input").begin_object();
      for (std::size_t k = 0; k < layout_->carried.size(); ++k) {
        j.key(layout_->carried_names[k]);
        const std::size_t i = layout_->carried[k];
        if (row && i < row->fields.size()) {
          j.utf8(row->fields[i]);
        } else {
          j.null();
        }
      }
      j.end_object();
    }
  }
  if (result) json_members(j, *result);
  if (layout_) {
    j.key("error");
    if (error.empty()) {
      j.null();
    } else {
      j.utf8(error);
    }
  }
  if (with_report_) {
    j.key("report");
    if (result) {
      report_.clear();
      render(report_, *result);
      j.text(report_);
    } else {
      j.null();
    }
  }
  j.end_object();
  out.push_back('\n');
}

void JsonWriter::refusal(std::string& out, const Command& c, const Refusal& r) {
  Json j(out);
  j.begin_object();
  j.key("error").begin_object();
  const bool model = r.entry == Refusal::kModel;
  j.key("entry").text(model ? c.model_column : c.entries[r.entry].option);
  j.key("name").utf8(r.name);
  j.key("given");
  if (r.given) {
    j.utf8(*r.given);
  } else {
    j.null();
  }
  j.key("problem").utf8(r.problem);
  j.key("message").utf8(r.message());
  if (!model) {
    const Entry& e = c.entries[r.entry];
    j.key("range").begin_object();
    j.key("low").number(e.low);
    j.key("high").number(e.high);
    j.key("unit").text(e.unit);
    j.end_object();
  }
  j.end_object();
  j.end_object();
  out.push_back('\n');
}

}  // namespace cli

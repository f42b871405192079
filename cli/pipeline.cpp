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

void CsvWriter::header(std::span<const std::string> carried_names) {
  carried_count_ = carried_names.size();
  cells_.assign(carried_names.begin(), carried_names.end());
  const auto columns = result_columns(command_);
  cells_.insert(cells_.end(), columns.begin(), columns.end());
  cells_.emplace_back("error");
  csv_row(out_, cells_);
}

void CsvWriter::row(std::int64_t, std::span<const std::string> carried,
                    const Result* result, std::string_view error) {
  cells_.assign(carried.begin(), carried.end());
  cells_.resize(carried_count_);  // a short row's missing cells: blank
  if (result) {
    csv_cells(cells_, *result);
  } else {
    cells_.resize(cells_.size() + result_columns(command_).size());
  }
  cells_.emplace_back(error);
  csv_row(out_, cells_);
}

void JsonWriter::header(std::span<const std::string> carried_names) {
  carried_names_.assign(carried_names.begin(), carried_names.end());
}

void JsonWriter::row(std::int64_t line, std::span<const std::string> carried,
                     const Result* result, std::string_view error) {
  Json j(out_);
  j.begin_object();
  if (batch_) {
    j.key("line").integer(line);
    if (!carried_names_.empty()) {
      j.key("input").begin_object();
      for (std::size_t i = 0; i < carried_names_.size(); ++i) {
        j.key(carried_names_[i]);
        if (i < carried.size()) {
          j.utf8(carried[i]);
        } else {
          j.null();
        }
      }
      j.end_object();
    }
  }
  if (result) json_members(j, *result);
  if (batch_) {
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
  out_.push_back('\n');
}

void JsonWriter::refusal(const Command& c, const Refusal& r) {
  Json j(out_);
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
  out_.push_back('\n');
}

}  // namespace cli

#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/results.hpp"

namespace cli {

void CsvWriter::header(std::string& out) {
  std::vector<std::string> names = layout_.carried_names;
  const auto columns = result_columns(command_);
  names.insert(names.end(), columns.begin(), columns.end());
  names.emplace_back("error");
  csv_row(out, names, delimiter_);
}

// The result's cells need no quotes in a comma file: numbers, codes and
// codes joined with ';' hold no comma, quote, line end or blank.
void CsvWriter::row(std::string& out, const Record* row, const Result* result,
                    std::string_view error) {
  for (std::size_t i : layout_.carried) {
    // A short row's missing cells are blank.
    if (row && i < row->fields.size()) {
      csv_cell(out, row->fields[i], delimiter_);
    }
    out.push_back(delimiter_);
  }
  if (result) {
    csv_cells(out, *result, delimiter_);
  } else {
    out.append(result_columns(command_).size(), delimiter_);
  }
  csv_cell(out, error, delimiter_);
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

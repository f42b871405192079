#include <iterator>

#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/results.hpp"
#include "morvelstandrik/cli/shortest.hpp"

namespace cli {

namespace {

// The columns that say where a row's fetch came from, after the carried
// ones.
constexpr std::string_view kOriginColumns[] = {
    "fetch_from.fetch_km", "fetch_from.open", "fetch_from.method",
    "fetch_from.source", "fetch_from.resolution"};

}  // namespace

void CsvWriter::header(std::string& out) {
  std::vector<std::string> names = layout_.carried_names;
  if (layout_.fetch_from_coast) {
    names.insert(names.end(), std::begin(kOriginColumns),
                 std::end(kOriginColumns));
  }
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
  if (layout_.fetch_from_coast) {
    if (origin_) {
      std::string number = shortest(origin_->engine_km);
      if (delimiter_ == ';') {
        for (char& c : number) c = c == '.' ? ',' : c;
      }
      out.append(number).push_back(delimiter_);
      out.append(origin_->open ? "true" : "false").push_back(delimiter_);
      out.append(origin_->method).push_back(delimiter_);
      csv_cell(out, origin_->source, delimiter_);
      out.push_back(delimiter_);
      csv_cell(out, origin_->resolution, delimiter_);
      out.push_back(delimiter_);
    } else {
      out.append(std::size(kOriginColumns), delimiter_);
    }
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
  if (origin_) {
    j.key("fetch_from").begin_object();
    j.key("fetch_km").number(origin_->engine_km);
    j.key("open").boolean(origin_->open);
    j.key("method").text(origin_->method);
    j.key("source").utf8(origin_->source);
    j.key("resolution").utf8(origin_->resolution);
    j.key("max_fetch_km").real(origin_->max_km);
    j.key("lat").real(origin_->lat);
    j.key("lon").real(origin_->lon);
    j.key("wind_from_deg").real(origin_->from_deg);
    j.end_object();
  }
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

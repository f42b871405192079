#include "morvelstandrik/cli/lines.hpp"

#include <algorithm>
#include <string_view>

namespace cli {
namespace {

bool blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

bool LineReader::next(Record& r) {
  using shell::Input;
  if (in_.peek() == Input::kEnd) return false;
  r.line = ++line_;
  r.problem.clear();
  text_.clear();
  for (int c = in_.get(); c != Input::kEnd && c != '\n'; c = in_.get()) {
    if (text_.size() < CsvReader::kMaxRecord) {
      text_.push_back(static_cast<char>(c));
    } else if (r.problem.empty()) {
      r.problem = "line longer than " + std::to_string(CsvReader::kMaxRecord) +
                  " bytes";
    }
  }
  split(r);
  if (r.fields.size() > CsvReader::kMaxFields && r.problem.empty()) {
    r.problem =
        "more than " + std::to_string(CsvReader::kMaxFields) + " values";
  }
  if (r.fields.size() > CsvReader::kMaxFields) {
    r.fields.resize(CsvReader::kMaxFields);
  }
  return true;
}

void LineReader::split(Record& r) const {
  r.fields.clear();
  const std::string_view line = text_;
  const bool commas = line.find(',') != std::string_view::npos;
  std::size_t at = 0;
  for (;;) {
    const std::size_t end =
        commas ? std::min(line.find(',', at), line.size()) : line.size();
    const std::string_view piece = line.substr(at, end - at);
    const std::size_t before = r.fields.size();
    for (std::size_t i = 0; i < piece.size();) {
      while (i < piece.size() && blank(piece[i])) ++i;
      const std::size_t from = i;
      while (i < piece.size() && !blank(piece[i])) ++i;
      if (i > from) r.fields.emplace_back(piece.substr(from, i - from));
    }
    // Between two commas, nothing is an empty value.
    if (commas && r.fields.size() == before) r.fields.emplace_back();
    if (end == line.size()) return;
    at = end + 1;
  }
}

}  // namespace cli

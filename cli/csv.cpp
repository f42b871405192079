#include "morvelstandrik/cli/csv.hpp"

namespace cli {

bool CsvReader::begin(Record& r) {
  using shell::Input;
  std::string prefix;  // the bytes of a byte-order mark that was not one
  if (!started_) {
    started_ = true;
    // The byte-order mark that some programs put before UTF-8 text.
    const char bom[] = "\xEF\xBB\xBF";
    while (prefix.size() < 3 &&
           in_.peek() == static_cast<unsigned char>(bom[prefix.size()])) {
      prefix.push_back(static_cast<char>(in_.get()));
    }
    if (prefix.size() == 3) prefix.clear();
  }
  // Empty lines separate nothing.
  while (prefix.empty() && in_.peek() == '\n') {
    in_.get();
    ++line_;
  }
  if (prefix.empty() && in_.peek() == Input::kEnd) return false;
  // The fields' strings are reused from record to record.
  r.fields.resize(1);
  r.fields[0].assign(prefix);
  r.line = line_;
  r.problem.clear();
  stored_ = prefix.size();
  return true;
}

void CsvReader::keep(Record& r, char c) {
  if (stored_ < kMaxRecord) {
    r.fields.back().push_back(c);
    ++stored_;
  } else if (r.problem.empty()) {
    r.problem = "record longer than " + std::to_string(kMaxRecord) + " bytes";
  }
}

void CsvReader::split(Record& r, char d) {
  if (r.fields.size() < kMaxFields) {
    r.fields.emplace_back();
    if (delimiter_ == kDetectDelimiter) split_by_.push_back(d);
  } else if (r.problem.empty()) {
    r.problem = "more than " + std::to_string(kMaxFields) + " fields";
  }
}

// A header with a comma outside quotes is a comma file, whatever its
// names hold: the fields its semicolons split are joined back.
void CsvReader::settle(Record& r) {
  bool comma = false, semicolon = false;
  for (char d : split_by_) (d == ',' ? comma : semicolon) = true;
  delimiter_ = semicolon && !comma ? ';' : ',';
  if (delimiter_ == ',' && semicolon) {
    std::size_t to = 0;
    for (std::size_t from = 1; from < r.fields.size(); ++from) {
      if (split_by_[from - 1] == ';') {
        r.fields[to].append(";").append(r.fields[from]);
      } else if (++to != from) {
        r.fields[to] = std::move(r.fields[from]);
      }
    }
    r.fields.resize(to + 1);
  }
  split_by_ = {};
}

bool CsvReader::next(Record& r) {
  using shell::Input;
  if (!begin(r)) return false;
  const bool detect = delimiter_ == kDetectDelimiter;
  bool quoted = false;                      // inside a quoted field
  bool at_start = r.fields.back().empty();  // nothing of this field read yet
  for (;;) {
    const int c = in_.get();
    if (c == Input::kEnd) {
      if (quoted && r.problem.empty()) r.problem = "quote never closed";
      break;
    }
    if (quoted) {
      if (c == '"' && in_.peek() == '"') {
        in_.get();
        keep(r, '"');
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line_;
        keep(r, static_cast<char>(c));
      }
      continue;
    }
    if (c == '\n') {
      ++line_;
      break;
    }
    if (detect ? c == ',' || c == ';' : c == delimiter_) {
      split(r, static_cast<char>(c));
      at_start = true;
      continue;
    }
    quoted = c == '"' && at_start;
    at_start = false;
    if (!quoted) keep(r, static_cast<char>(c));
  }
  if (detect) settle(r);
  return true;
}

void csv_cell(std::string& out, std::string_view cell, char delimiter) {
  const char special[] = {delimiter, '"', '\r', '\n', '\0'};
  const bool quote =
      cell.find_first_of(special) != std::string_view::npos ||
      (!cell.empty() && (cell.front() == ' ' || cell.back() == ' '));
  if (!quote) {
    out.append(cell);
    return;
  }
  out.push_back('"');
  for (char ch : cell) {
    if (ch == '"') out.push_back('"');
    out.push_back(ch);
  }
  out.push_back('"');
}

void csv_row(std::string& out, std::span<const std::string> cells,
             char delimiter) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out.push_back(delimiter);
    csv_cell(out, cells[i], delimiter);
  }
  out.push_back('\n');
}

}  // namespace cli

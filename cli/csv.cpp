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

bool CsvReader::next(Record& r) {
  using shell::Input;
  if (!begin(r)) return false;
  bool quoted = false;                      // inside a quoted field
  bool at_start = r.fields.back().empty();  // nothing of this field read yet
  for (;;) {
    const int c = in_.get();
    if (c == Input::kEnd) {
      if (quoted && r.problem.empty()) r.problem = "quote never closed";
      return true;
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
      return true;
    }
    if (c == ',') {
      if (r.fields.size() < kMaxFields) {
        r.fields.emplace_back();
      } else if (r.problem.empty()) {
        r.problem = "more than " + std::to_string(kMaxFields) + " fields";
      }
      at_start = true;
      continue;
    }
    quoted = c == '"' && at_start;
    at_start = false;
    if (!quoted) keep(r, static_cast<char>(c));
  }
}

void csv_cell(std::string& out, std::string_view cell) {
  const bool quote =
      cell.find_first_of(",\"\r\n") != std::string_view::npos ||
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

void csv_row(std::string& out, std::span<const std::string> cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out.push_back(',');
    csv_cell(out, cells[i]);
  }
  out.push_back('\n');
}

}  // namespace cli

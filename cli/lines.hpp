// Reading cases one a line (--lines): the numbers of a case separated by
// blanks or commas, as scripts write them, each line a record of its own.
#pragma once

#include <cstdint>
#include <string>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/shell/reader.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// Reads each line, an empty one too, as a record of the numbers on it:
// split at commas, and each piece at runs of blanks and tabs; a piece that
// is blank is an empty field. Lines end in LF or CR LF. A line longer than
// CsvReader::kMaxRecord bytes or with more than CsvReader::kMaxFields
// values is read to its end but kept only in part, with a problem.
//   "20 10 100 10\n"   -> {"20", "10", "100", "10"}
//   "20, 10,,10\n"     -> {"20", "10", "", "10"}
//   "\n"               -> {}
class LineReader final : public RecordSource {
 public:
  explicit LineReader(shell::ByteSource& source) : in_(source) {}
  bool next(Record& r) override;

 private:
  // Splits the line's text into r's fields.
  void split(Record& r) const;

  shell::Input in_;
  std::int64_t line_ = 0;
  std::string text_;  // the line, up to kMaxRecord bytes
};

}  // namespace cli

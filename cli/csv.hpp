// Reading batch files: comma-separated records, one at a time, in memory
// that does not grow with the number of records or the length of a line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "morvelstandrik/shell/reader.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// One record of a batch file.
struct Record {
  std::vector<std::string> fields;
  std::int64_t line = 0;  // where the record starts, from 1
  // Why the record could not be read whole (a line too long, a quote never
  // closed); its fields are then incomplete. Empty when it was.
  std::string problem;
};

// Reads records as spreadsheets write them: fields separated by commas,
// a field in double quotes may hold commas, line ends and doubled quotes;
// lines end in LF or CR LF; a UTF-8 byte-order mark before the first record
// is skipped; empty lines are skipped. A record longer than kMaxRecord
// bytes or with more than kMaxFields fields is read to its end but kept
// only in part, with a problem.
//   "a,\"b,c\",\"say \"\"hi\"\"\"\r\n" -> {"a", "b,c", "say \"hi\""}
class CsvReader {
 public:
  static constexpr std::size_t kMaxRecord = 1 << 16;
  static constexpr std::size_t kMaxFields = 256;

  explicit CsvReader(shell::ByteSource& source) : in_(source) {}

  // Reads the next record into r; false at the end of the input.
  bool next(Record& r);

 private:
  // Skips a byte-order mark and empty lines and starts r; false at the end.
  bool begin(Record& r);
  // Keeps a byte of the record, up to kMaxRecord bytes.
  void keep(Record& r, char c);

  shell::Input in_;
  std::int64_t line_ = 1;
  bool started_ = false;
  std::size_t stored_ = 0;  // bytes kept of the record
};

// Appends a CSV cell as spreadsheets read it back: quoted when it holds a
// comma, a quote or a line end, or starts or ends with a blank.
//   " d" -> \" d\"; "a" -> a
void csv_cell(std::string& out, std::string_view cell);

// Appends a CSV row of such cells, and the line end.
//   {"a", "b,c", " d"} -> a,"b,c"," d"\n
void csv_row(std::string& out, std::span<const std::string> cells);

}  // namespace cli

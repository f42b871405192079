// Reading batch files: comma- or semicolon-separated records, one at a
// time, in memory that does not grow with the number of records or the
// length of a line.
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

// Where records come from, one at a time.
class RecordSource {
 public:
  virtual ~RecordSource() = default;
  // Reads the next record into r; false at the end of the input.
  virtual bool next(Record& r) = 0;
};

// The delimiter that the first record (the header) chooses: a semicolon
// when it holds semicolons outside quotes and no comma, else a comma.
inline constexpr char kDetectDelimiter = '\0';

// Reads records as spreadsheets write them: fields separated by commas (or
// semicolons, as spreadsheets save CSV where the comma is the decimal
// mark), a field in double quotes may hold delimiters, line ends and
// doubled quotes;
// lines end in LF or CR LF; a UTF-8 byte-order mark before the first record
// is skipped; empty lines are skipped. A record longer than kMaxRecord
// bytes or with more than kMaxFields fields is read to its end but kept
// only in part, with a problem.
//   "a,\"b,c\",\"say \"\"hi\"\"\"\r\n" -> {"a", "b,c", "say \"hi\""}
//   detected: "a;b\n1,5;2\n" -> {"a", "b"}, {"1,5", "2"}, delimiter ';'
//   detected: "a;b,c\n" -> {"a;b", "c"}, delimiter ','
class CsvReader final : public RecordSource {
 public:
  static constexpr std::size_t kMaxRecord = 1 << 16;
  static constexpr std::size_t kMaxFields = 256;

  // delimiter: ',', ';' or kDetectDelimiter.
  explicit CsvReader(shell::ByteSource& source, char delimiter = ',')
      : in_(source), delimiter_(delimiter) {}

  bool next(Record& r) override;
  // The delimiter in use; kDetectDelimiter until the first record is read.
  char delimiter() const { return delimiter_; }

 private:
  // Skips a byte-order mark and empty lines and starts r; false at the end.
  bool begin(Record& r);
  // Keeps a byte of the record, up to kMaxRecord bytes.
  void keep(Record& r, char c);
  // Starts the next field after delimiter d.
  void split(Record& r, char d);
  // Chooses the delimiter from the first record read with both.
  void settle(Record& r);

  shell::Input in_;
  std::int64_t line_ = 1;
  bool started_ = false;
  std::size_t stored_ = 0;  // bytes kept of the record
  char delimiter_;
  std::vector<char> split_by_;  // while detecting: what ended each field
};

// Appends a CSV cell as spreadsheets read it back: quoted when it holds the
// delimiter, a quote or a line end, or starts or ends with a blank.
//   " d" -> \" d\"; "a" -> a; ("a;b", ';') -> "a;b" in quotes
void csv_cell(std::string& out, std::string_view cell, char delimiter = ',');

// Appends a CSV row of such cells, and the line end.
//   {"a", "b,c", " d"} -> a,"b,c"," d"\n
void csv_row(std::string& out, std::span<const std::string> cells,
             char delimiter = ',');

}  // namespace cli

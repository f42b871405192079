// The three ways the command line runs a command: one case from the
// arguments, a batch from a CSV file, or cases one a line. Both read through
// the row pipeline and write what it gives; the parsing of the arguments is
// done before.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "morvelstandrik/cli/coastline.hpp"
#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

inline constexpr std::string_view kProgram = "morvelstandrik";

// What the command line asks of one command, its arguments read.
struct Request {
  const Command* command = nullptr;
  CaseTexts texts;  // the entries given as arguments or options
  bool relative = false;
  bool with_report = false;
  std::string format;  // text, json or csv
  std::string file;    // --batch: a file, "-" for standard input
  unsigned jobs = 0;   // --jobs: threads of a batch; 0: not given
  // --delimiter: of the batch file and of the CSV written; 0: not given (a
  // file's is read from its header, and commas are written).
  char delimiter = 0;
  bool lines = false;  // --lines: cases one a line on standard input
  // --at LAT,LON and --from DIR: the fetch from a coastline in place of the
  // fetch entry (empty: not given); the coastline and method options.
  std::string at, from;
  CoastOptions coast;
  bool coast_options = false;  // --coast, --method, --max-fetch or
                               // --resolution given
  std::string_view name() const { return command->name; }
  windsea::Model model() const {
    return relative ? windsea::Model::kRelativeWind
                    : windsea::Model::kDeepWater;
  }
};

// A batch file opened for reading, closed when it goes.
class BatchInput {
 public:
  // Standard input for "-", else the file; `problem` says why it cannot be
  // read ("cannot read F: No such file or directory"), empty when it can.
  BatchInput(const std::string& file, shell::ByteSource& stdin_source,
             std::string& problem);
  ~BatchInput();
  BatchInput(const BatchInput&) = delete;
  BatchInput& operator=(const BatchInput&) = delete;
  shell::ByteSource& source() { return *source_; }
  // The errno of a failed read from the file, or 0.
  int read_error() const { return file_ ? file_->error() : 0; }

 private:
  int fd_ = -1;
  std::optional<shell::FdSource> file_;
  shell::ByteSource* source_;
};

// Writes "morvelstandrik: MESSAGE" to err.
void say(shell::ByteSink& err, std::string_view message);

// A usage error: one line that names the argument and what is wrong, and a
// hint naming the command's help; returns the usage status.
//   ("windsea: DEPTH is missing; ...", "windsea") ->
//   "morvelstandrik: windsea: DEPTH is missing; ...\n"
//   "Try 'morvelstandrik windsea --help'.\n", 2
int usage(shell::ByteSink& err, std::string_view message,
          std::string_view command);

// One case: the text report (with the notes on err) or one JSON object;
// status 0, or a usage error naming the refused entry (under json also the
// structured error on out).
int one_case(const Request& q, shell::ByteSink& out, shell::ByteSink& err);

// A batch: one output row per input row, in order; a bad row gets its
// error in its row and a line on err, and the status says some rows had
// errors. A file that cannot be read or a header that cannot be used is a
// usage error.
int batch(const Request& q, shell::ByteSource& stdin_source,
          shell::ByteSink& out, shell::ByteSink& err);

// Cases one a line on standard input, each answered as soon as it is read
// by one line: a CSV row (no header; the columns of a batch without carried
// ones) or a JSON object, a bad line by its row with the error (and a line
// on err). The status is a batch's.
//   windsea, csv: "20 10 100 10\nx\n" -> a row of results, a row with
//   "WIND: 'x' is not a number", status 1
int lines(const Request& q, shell::ByteSource& in, shell::ByteSink& out,
          shell::ByteSink& err);

}  // namespace cli

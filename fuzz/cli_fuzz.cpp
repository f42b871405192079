// Fuzz target: the command line, arguments and batch files. The first line
// of the input holds the arguments, separated by blanks; the rest is
// standard input (for --batch -). No crash, no undefined behaviour; the
// status is 0, 1 or 2; a failed case writes nothing to standard output
// (under JSON only its error object); a CSV batch gives one output row per
// input record, each as wide as the header; the line mode one output line
// per input line; no value is ever NaN or infinite. The corpus also holds
// the unit options and the unit columns of a batch.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/csv.hpp"

namespace {

std::vector<std::vector<std::string>> records(std::string_view text) {
  shell::MemorySource source(text);
  cli::CsvReader reader(source);
  std::vector<std::vector<std::string>> rows;
  cli::Record r;
  while (reader.next(r)) rows.push_back(r.fields);
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::size_t nl = std::min(bytes.find('\n'), bytes.size());
  const std::string_view line = bytes.substr(0, nl);
  const std::string_view input =
      nl < bytes.size() ? bytes.substr(nl + 1) : std::string_view();
  std::vector<std::string> words;
  for (std::size_t at = 0; at < line.size();) {
    const std::size_t end = std::min(line.find(' ', at), line.size());
    if (end > at) words.emplace_back(line.substr(at, end - at));
    at = end + 1;
  }
  if (words.size() > 16) return 0;
  const std::vector<std::string_view> args(words.begin(), words.end());

  shell::MemorySource in(input);
  shell::StringSink out, err;
  const int status = cli::run(args, in, out, err);
  if (status < 0 || status > 2) std::abort();
  // A batch or the line mode answer many cases, good and bad.
  bool batch = false;
  for (const std::string& w : words) {
    batch = batch || w.starts_with("--batch") || w == "--lines";
  }
  // A refused case writes nothing to standard output, but under JSON the
  // error object.
  bool json = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    json = json || words[i] == "--format=json" ||
           (words[i] == "--format" && i + 1 < words.size() &&
            words[i + 1] == "json");
  }
  if (!batch && status != 0 && !out.text.empty() &&
      !(json && out.text.starts_with("{\"error\":"))) {
    std::abort();
  }
  // A one-case JSON result holds no text of the user's: no NaN, no infinity.
  if (!batch && out.text.starts_with("{") &&
      (out.text.find("nan") != std::string::npos ||
       out.text.find("inf") != std::string::npos)) {
    std::abort();
  }
  const bool plain_csv_batch = words.size() == 3 &&
                               (words[0] == "windsea" || words[0] == "swell") &&
                               words[1] == "--batch" && words[2] == "-";
  if (plain_csv_batch && status != 2) {
    const auto in_rows = records(input);
    const auto out_rows = records(out.text);
    if (in_rows.size() != out_rows.size()) std::abort();
    for (const auto& row : out_rows) {
      if (row.size() != out_rows[0].size()) std::abort();
    }
  }
  // The line mode answers each line of its input by one line.
  const bool plain_lines = words.size() == 2 &&
                           (words[0] == "windsea" || words[0] == "swell") &&
                           words[1] == "--lines";
  if (plain_lines && status != 2) {
    std::size_t lines = 0;
    for (std::size_t at = 0; at < input.size(); ++lines) {
      at = std::min(input.find('\n', at), input.size()) + 1;
    }
    if (static_cast<std::size_t>(
            std::count(out.text.begin(), out.text.end(), '\n')) != lines) {
      std::abort();
    }
  }
  return 0;
}

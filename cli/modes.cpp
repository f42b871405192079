#include "morvelstandrik/cli/modes.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "morvelstandrik/cli/batch.hpp"
#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/cli/lines.hpp"
#include "morvelstandrik/cli/shortest.hpp"
#include "morvelstandrik/shell/platform.hpp"

namespace cli {
namespace {

// A file opened for reading, closed at the end of the batch.
}  // namespace

BatchInput::BatchInput(const std::string& file, shell::ByteSource& stdin_source,
                       std::string& problem)
    : source_(&stdin_source) {
  problem.clear();
  if (file == "-") return;
  fd_ = shell::open_for_reading(file);
  if (fd_ < 0) {
    problem = "cannot read " + file + ": " + std::strerror(errno);
    return;
  }
  source_ = &file_.emplace(fd_);
}

BatchInput::~BatchInput() {
  if (fd_ >= 0) ::close(fd_);
}

void say(shell::ByteSink& err, std::string_view message) {
  std::string line;
  line.append(kProgram).append(": ").append(message).append("\n");
  err.write(line);
}

int usage(shell::ByteSink& err, std::string_view message,
          std::string_view command) {
  say(err, message);
  std::string hint = "Try '";
  hint.append(kProgram);
  if (!command.empty()) hint.append(" ").append(command);
  hint.append(" --help'.\n");
  err.write(hint);
  return kUsage;
}

// The fetch of a case from the coastline at --at, for a wind from --from:
// empty with the fetch's text in place of the fetch entry (the shortest
// text of the float the engine reads, so that the case computes to the
// same bits as the same case given that fetch), or what is wrong.
std::string fetch_from_coast(const Request& q, CaseTexts& texts,
                             std::string& fetch_text, FetchOrigin& origin) {
  const std::string_view at = q.at;
  std::size_t cut = at.find(',');
  if (cut == at.npos) cut = at.find(' ');
  if (cut == at.npos || at.find(',', cut + 1) != at.npos) {
    return "--at: '" + q.at + "' is not a position; give LAT,LON";
  }
  const std::string_view lat = at.substr(0, cut);
  const std::string_view lon = at.substr(cut + 1);
  std::string problem = check_place(lat, lon, q.from);
  if (!problem.empty()) return "--at: " + problem;
  const std::unique_ptr<FetchFinder> finder =
      load_finder_near(q.coast, lat, lon, problem);
  if (!finder) return problem;
  problem = finder->find(lat, lon, q.from, origin);
  if (!problem.empty()) return "--at: " + problem;
  const std::size_t f = *fetch_entry(*q.command);
  fetch_text = shortest(origin.engine_km);
  texts.text[f] = fetch_text;
  return {};
}

// The line before a text report that says where its fetch came from.
std::string origin_line(const FetchOrigin& o) {
  std::string line = "Fetch ";
  line += o.open ? "at least " : "";
  line += shortest(o.engine_km);
  line += " km by " + o.method + " from " + o.source;
  if (!o.resolution.empty()) line += " " + o.resolution;
  line += " at " + shortest(static_cast<float>(o.lat)) + ", " +
          shortest(static_cast<float>(o.lon)) + ", wind from " +
          shortest(static_cast<float>(o.from_deg)) + " deg\n";
  return line;
}

int one_case(const Request& q, shell::ByteSink& out, shell::ByteSink& err) {
  const Command& c = *q.command;
  const bool json = q.format == "json";
  std::string text;
  JsonWriter writer(nullptr, q.with_report);
  CaseTexts texts = q.texts;
  std::string fetch_text;
  FetchOrigin origin;
  if (!q.at.empty()) {
    const std::string problem = fetch_from_coast(q, texts, fetch_text, origin);
    if (!problem.empty()) {
      return usage(err, std::string(q.name()) + ": " + problem, q.name());
    }
    writer.origin(&origin);
    if (!json) text = origin_line(origin);
  }
  const std::variant<Result, Refusal> got = evaluate(c, texts);
  if (const Refusal* r = std::get_if<Refusal>(&got)) {
    if (json) {
      writer.refusal(text, c, *r);
      out.write(text);
    }
    return usage(err, std::string(q.name()) + ": " + r->message(), q.name());
  }
  const Result& result = std::get<Result>(got);
  if (json) {
    writer.row(text, nullptr, &result, {});
  } else {
    if (const std::string said = note_lines(result); !said.empty()) {
      err.write(said);
    }
    render(text, result);
  }
  out.write(text);
  return kOk;
}

int batch(const Request& q, shell::ByteSource& stdin_source,
          shell::ByteSink& out, shell::ByteSink& err) {
  const Command& c = *q.command;
  const std::string command(q.name());
  const std::string where = q.file == "-" ? "standard input" : q.file;
  std::string problem;
  BatchInput input(q.file, stdin_source, problem);
  if (!problem.empty()) return usage(err, command + ": " + problem, command);
  CsvReader reader(input.source(),
                   q.delimiter ? q.delimiter : kDetectDelimiter);
  Record rec;
  if (!reader.next(rec)) problem = where + " is empty; it needs a header";
  if (problem.empty() && !rec.problem.empty()) {
    problem = where + ": header: " + rec.problem;
  }
  Layout layout;
  if (problem.empty()) {
    const std::string bad = map_header(c, rec.fields, layout);
    if (!bad.empty()) problem = where + ": " + bad;
    layout.decimal_comma = reader.delimiter() == ';';
  }
  if (!problem.empty()) return usage(err, command + ": " + problem, command);
  // Positions in place of the fetch: the coastline is loaded once, and
  // every row's thread reads it.
  std::unique_ptr<FetchFinder> finder;
  if (layout.fetch_from_coast) {
    finder = load_finder(q.coast, problem);
    if (!finder) return usage(err, command + ": " + problem, command);
  } else if (q.coast_options) {
    return usage(err,
                 command + ": " + where +
                     ": --coast, --method, --max-fetch and --resolution "
                     "are for a batch with the columns lat, lon and "
                     "wind_from_deg in place of fetch_km",
                 command);
  }

  BatchSetup setup;
  setup.finder = finder.get();
  setup.command = &c;
  setup.layout = std::move(layout);
  setup.model = q.model();
  setup.json = q.format == "json";
  setup.with_report = q.with_report;
  setup.said = std::string(kProgram) + ": " + command + ": " + where + ":";
  setup.jobs = q.jobs;
  setup.delimiter = q.delimiter ? q.delimiter : ',';
  const bool bad = run_rows(setup, reader, out, err);
  if (input.read_error() != 0) {
    say(err, command + ": cannot read " + q.file + ": " +
                 std::strerror(input.read_error()));
    return kUsage;
  }
  return bad ? kBadRows : kOk;
}

int lines(const Request& q, shell::ByteSource& in, shell::ByteSink& out,
          shell::ByteSink& err) {
  const Command& c = *q.command;
  BatchSetup setup;
  setup.command = &c;
  setup.layout.at.fill(-1);
  for (std::size_t k = 0; k < c.entries.size(); ++k) {
    setup.layout.at[k] = static_cast<std::ptrdiff_t>(k);
  }
  setup.layout.unit = q.texts.unit;  // the unit options
  setup.layout.width = c.entries.size();
  setup.layout.by_argument = true;
  setup.model = q.model();
  setup.json = q.format == "json";
  setup.with_report = q.with_report;
  setup.said = std::string(kProgram) + ": " + std::string(q.name()) +
               ": standard input:";
  setup.delimiter = q.delimiter ? q.delimiter : ',';
  setup.block_rows = 1;
  setup.with_header = false;
  LineReader reader(in);
  return run_rows(setup, reader, out, err) ? kBadRows : kOk;
}

}  // namespace cli

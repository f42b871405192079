#include "morvelstandrik/cli/modes.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"

namespace cli {
namespace {

// A file opened for reading, closed at the end of the batch.
struct OpenFile {
  explicit OpenFile(int fd) : fd(fd), source(fd) {}
  ~OpenFile() { ::close(fd); }
  int fd;
  shell::FdSource source;
};

}  // namespace

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

int one_case(const Request& q, shell::ByteSink& out, shell::ByteSink& err) {
  const Command& c = *q.command;
  const bool json = q.format == "json";
  std::string text;
  JsonWriter writer(text, false, q.with_report);
  const std::variant<Result, Refusal> got = evaluate(c, q.texts);
  if (const Refusal* r = std::get_if<Refusal>(&got)) {
    if (json) {
      writer.refusal(c, *r);
      out.write(text);
    }
    return usage(err, std::string(q.name()) + ": " + r->message(), q.name());
  }
  const Result& result = std::get<Result>(got);
  if (json) {
    writer.row(0, {}, &result, {});
  } else {
    std::string said;
    const windsea::Notes notes = cli::notes(result);
    for (int i = 0; i < windsea::kNoteCount; ++i) {
      const auto n = static_cast<windsea::Note>(i);
      if (notes.has(n)) {
        said.append(kProgram).append(": note: ");
        said.append(windsea::text(n)).append("\n");
      }
    }
    if (!said.empty()) err.write(said);
    render(text, result);
  }
  out.write(text);
  return kOk;
}

int batch(const Request& q, shell::ByteSource& stdin_source,
          shell::ByteSink& out, shell::ByteSink& err) {
  const Command& c = *q.command;
  const std::string command(q.name());
  std::optional<OpenFile> opened;
  shell::ByteSource* source = &stdin_source;
  const std::string where = q.file == "-" ? "standard input" : q.file;
  if (q.file != "-") {
    const int fd = ::open(q.file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      return usage(
          err,
          command + ": cannot read " + q.file + ": " + std::strerror(errno),
          command);
    }
    source = &opened.emplace(fd).source;
  }
  CsvReader reader(*source);
  Record rec;
  std::string problem;
  if (!reader.next(rec)) problem = where + " is empty; it needs a header";
  if (problem.empty() && !rec.problem.empty()) {
    problem = where + ": header: " + rec.problem;
  }
  Layout layout;
  if (problem.empty()) {
    const std::string bad = map_header(c, rec.fields, layout);
    if (!bad.empty()) problem = where + ": " + bad;
  }
  if (!problem.empty()) return usage(err, command + ": " + problem, command);

  OutputBuffer w(out);
  CsvWriter csv(w.text(), c);
  JsonWriter json(w.text(), true, q.with_report);
  RowWriter& writer = q.format == "json" ? static_cast<RowWriter&>(json) : csv;
  writer.header(layout.carried_names);
  int status = kOk;
  std::vector<std::string> carried;
  while (reader.next(rec)) {
    problem = rec.problem;
    if (problem.empty() && rec.fields.size() != layout.width) {
      problem = std::to_string(rec.fields.size()) +
                " fields where the header has " + std::to_string(layout.width);
    }
    std::optional<std::variant<Result, Refusal>> got;
    if (problem.empty()) {
      got = evaluate(c, row_texts(c, layout, rec, q.model()));
      if (const Refusal* r = std::get_if<Refusal>(&*got))
        problem = r->message();
    }
    if (!problem.empty()) {
      status = kBadRows;
      say(err, command + ": " + where + ":" + std::to_string(rec.line) + ": " +
                   problem);
    }
    carried.clear();
    for (std::size_t i : layout.carried) {
      if (i < rec.fields.size()) carried.push_back(rec.fields[i]);
    }
    const Result* result = got ? std::get_if<Result>(&*got) : nullptr;
    writer.row(rec.line, carried, result, problem);
    w.maybe_flush();
  }
  w.flush();
  if (opened && opened->source.error() != 0) {
    say(err, command + ": cannot read " + q.file + ": " +
                 std::strerror(opened->source.error()));
    return kUsage;
  }
  return status;
}

}  // namespace cli

#include "morvelstandrik/cli/cli.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/pipeline.hpp"

#ifndef MORVEL_VERSION
#define MORVEL_VERSION "unknown"
#endif

namespace cli {
namespace {

constexpr std::string_view kProgram = "morvelstandrik";

void say(shell::ByteSink& err, std::string_view message) {
  std::string line;
  line.append(kProgram).append(": ").append(message).append("\n");
  err.write(line);
}

// A usage error: one line that names the argument and what is wrong, and
// a hint.
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

// What the command line asks of one command.
struct Request {
  const Command* command = nullptr;
  CLI::App* app = nullptr;
  std::array<std::string, kMaxEntries> by_argument, by_option;
  std::array<CLI::Option*, kMaxEntries> argument_given{}, option_given{};
  std::array<std::string, kMaxEntries> option_names;  // "--wind"
  bool relative = false;
  bool with_report = false;
  std::string format, file;
  std::string_view name() const { return command->name; }
};

void add_command(CLI::App& app, const Command& c, Request& q) {
  q.command = &c;
  q.app = app.add_subcommand(std::string(c.name), std::string(c.summary));
  // Values are read as text, so that a bad one can be named and explained.
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    const Entry& e = c.entries[i];
    q.argument_given[i] =
        q.app
            ->add_option(std::string(e.argument), q.by_argument[i],
                         std::string(e.help))
            ->type_name(std::string(e.type));
    q.option_names[i] = "--" + std::string(e.option);
    q.option_given[i] =
        q.app
            ->add_option(q.option_names[i], q.by_option[i],
                         "the same as " + std::string(e.argument))
            ->type_name(std::string(e.type));
  }
  if (!c.model_column.empty()) {
    q.app->add_flag("--relative", q.relative,
                    "the sea raised by the wind relative to the water, in "
                    "deep water, instead of the deep-water sea carried into "
                    "the depth and current");
  }
  q.app
      ->add_option("--format", q.format,
                   "text (one case, the default), json (one case, or a batch "
                   "as JSON Lines) or csv (a batch, the default)")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->type_name("FORMAT");
  q.app->add_flag("--with-report", q.with_report,
                  "with --format json: the text report too, as the member "
                  "report");
  std::string columns;
  for (const Entry& e : c.entries) {
    columns += columns.empty() ? "" : ",";
    columns +=
        e.fallback ? "[" + std::string(e.column) + "]" : std::string(e.column);
  }
  if (!c.model_column.empty()) {
    columns +=
        ",[" + std::string(c.model_column) + "] (deep-water or relative-wind)";
  }
  q.app
      ->add_option("--batch", q.file,
                   "a CSV file (- for standard input) with the columns " +
                       columns +
                       "; other columns are carried through; one output row "
                       "per row")
      ->type_name("FILE");
}

windsea::Model model(const Request& q) {
  return q.relative ? windsea::Model::kRelativeWind
                    : windsea::Model::kDeepWater;
}

int one_case(const Request& q, shell::ByteSink& out, shell::ByteSink& err) {
  const Command& c = *q.command;
  CaseTexts t;
  t.model = model(q);
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    const bool as_argument = q.argument_given[i]->count() > 0;
    const bool as_option = q.option_given[i]->count() > 0;
    if (as_argument && as_option) {
      return usage(
          err,
          std::string(q.name()) + ": " + std::string(c.entries[i].argument) +
              " is given twice: as an argument and as " + q.option_names[i],
          q.name());
    }
    t.name[i] =
        as_option ? std::string_view(q.option_names[i]) : c.entries[i].argument;
    if (as_argument) t.text[i] = q.by_argument[i];
    if (as_option) t.text[i] = q.by_option[i];
  }
  const bool json = q.format == "json";
  std::string text;
  JsonWriter writer(text, false, q.with_report);
  const std::variant<Result, Refusal> got = evaluate(c, t);
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

// A file opened for reading, closed at the end of the batch.
struct OpenFile {
  explicit OpenFile(int fd) : fd(fd), source(fd) {}
  ~OpenFile() { ::close(fd); }
  int fd;
  shell::FdSource source;
};

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
      got = evaluate(c, row_texts(c, layout, rec, model(q)));
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

// The checks between the options, then one case or a batch.
int dispatch(Request& q, shell::ByteSource& in, shell::ByteSink& out,
             shell::ByteSink& err) {
  const std::string command(q.name());
  bool values = false;
  for (std::size_t i = 0; i < q.command->entries.size(); ++i) {
    values = values || q.argument_given[i]->count() > 0 ||
             q.option_given[i]->count() > 0;
  }
  const bool batched = !q.file.empty();
  if (q.format.empty()) q.format = batched ? "csv" : "text";
  std::string problem;
  if (batched && values) {
    problem = "--batch reads its cases from " + q.file +
              "; give no values "
              "besides";
  } else if (batched && q.format == "text") {
    problem = "--format text is for one case; a batch is csv or json";
  } else if (!batched && q.format == "csv") {
    problem = "--format csv is for a batch; one case is text or json";
  } else if (q.with_report && q.format != "json") {
    problem = "--with-report goes with --format json";
  }
  if (!problem.empty()) return usage(err, command + ": " + problem, command);
  return batched ? batch(q, in, out, err) : one_case(q, out, err);
}

}  // namespace

int run(std::span<const std::string_view> args, shell::ByteSource& in,
        shell::ByteSink& out, shell::ByteSink& err) {
  CLI::App app{
      "Rough estimates of the wind sea and of the wind field behind a swell, "
      "for sailors. Estimates only, not safe for navigation.\n"
      "Without arguments the program is an interactive dialogue.",
      std::string(kProgram)};
  app.set_version_flag("--version",
                       std::string(kProgram) + " " + MORVEL_VERSION);
  app.require_subcommand(1);
  app.failure_message([](const CLI::App* a, const CLI::Error& e) {
    std::string m = std::string(kProgram) + ": ";
    if (a->get_name() != kProgram) m += a->get_name() + ": ";
    m += e.what();
    m += "\nTry '" + std::string(kProgram) + " --help'.\n";
    return m;
  });
  std::vector<Request> requests(commands().size());
  for (std::size_t i = 0; i < requests.size(); ++i) {
    add_command(app, commands()[i], requests[i]);
  }

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  std::ostringstream help_out, help_err;
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, help_out, help_err);
    out.write(help_out.str());
    err.write(help_err.str());
    return code == 0 ? kOk : kUsage;
  }
  for (Request& q : requests) {
    if (q.app->parsed()) return dispatch(q, in, out, err);
  }
  return kUsage;  // a subcommand is required: the parser has said so
}

}  // namespace cli

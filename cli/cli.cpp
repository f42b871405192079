#include "morvelstandrik/cli/cli.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/number.hpp"
#include "morvelstandrik/cli/results.hpp"
#include "morvelstandrik/report/report.hpp"
#include "morvelstandrik/swell/engine.hpp"
#include "morvelstandrik/windsea/engine.hpp"

#ifndef MORVEL_VERSION
#define MORVEL_VERSION "unknown"
#endif

namespace cli {
namespace {

constexpr std::string_view kProgram = "morvelstandrik";

// The one-shot arguments, as the usage line and the messages name them.
constexpr std::string_view kWindSeaArgs[] = {"WIND", "DURATION", "FETCH",
                                             "DEPTH", "CURRENT"};
constexpr std::string_view kSwellArgs[] = {"PERIOD", "HEIGHT"};

// Output gathered and handed on in large pieces.
class Writer {
 public:
  explicit Writer(shell::ByteSink& sink) : sink_(sink) {}
  ~Writer() { flush(); }
  std::string& text() { return buf_; }
  void maybe_flush() {
    if (buf_.size() >= 1 << 16) flush();
  }
  void flush() {
    if (!buf_.empty()) sink_.write(buf_);
    buf_.clear();
  }

 private:
  shell::ByteSink& sink_;
  std::string buf_;
};

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

std::string quote(std::string_view text) {
  return "'" + std::string(text) + "'";
}

// Reads a number argument or field, or says what is wrong with it.
std::optional<float> number(std::string_view name, std::string_view text,
                            std::string& problem) {
  const Number n = read_number(text);
  if (!n.value)
    problem = std::string(name) + ": " + quote(text) + " " + n.problem;
  return n.value;
}

// The wind-sea entries of one case, read and checked; limited by the
// model's ranges. Reading a negative wind as the other model is a rule of
// the dialogue: here the model is said, and a negative wind is an error.
struct WindSeaCase {
  windsea::LimitedConditions limited;
  std::string problem;
};

WindSeaCase windsea_case(std::span<const std::string_view> names,
                         std::span<const std::string_view> texts,
                         windsea::Model model) {
  WindSeaCase c{};
  float v[5] = {0, 0, 0, 0, 0};  // current: 0 unless given
  for (std::size_t i = 0; i < texts.size(); ++i) {
    const std::optional<float> x = number(names[i], texts[i], c.problem);
    if (!x) return c;
    v[i] = *x;
  }
  if (v[0] < 0.0f) {
    c.problem = std::string(names[0]) + ": " + quote(texts[0]) +
                " is negative; give the wind's speed (and --relative, or the "
                "model relative-wind, for the sea raised by the wind "
                "relative to the water)";
    return c;
  }
  if (!windsea::raises_sea(v[0])) {
    c.problem = std::string(names[0]) + ": " + quote(texts[0]) +
                " raises no sea; give a wind above 0.01 kt";
    return c;
  }
  c.limited = windsea::limit({v[0], v[1], v[2], v[3], v[4], model});
  return c;
}

struct SwellCase {
  float period = 0, height = 0;
  std::string problem;
};

SwellCase swell_case(std::span<const std::string_view> names,
                     std::span<const std::string_view> texts) {
  SwellCase c;
  const std::optional<float> p = number(names[0], texts[0], c.problem);
  if (!p) return c;
  const std::optional<float> h = number(names[1], texts[1], c.problem);
  if (!h) return c;
  if (*p < swell::kShortestPeriod) {
    c.problem = std::string(names[0]) + ": " + quote(texts[0]) +
                " is shorter than the 0.1 s the swell table starts at";
    return c;
  }
  c.period = *p;
  c.height = *h;
  return c;
}

// --- one case -------------------------------------------------------------

int windsea_once(const std::vector<std::string>& args, bool relative,
                 const std::string& format, shell::ByteSink& out,
                 shell::ByteSink& err) {
  const auto& names = kWindSeaArgs;
  if (args.size() < 4) {
    return usage(err,
                 "windsea: " + std::string(names[args.size()]) +
                     " is missing; give WIND DURATION FETCH DEPTH [CURRENT]",
                 "windsea");
  }
  std::vector<std::string_view> texts(args.begin(), args.end());
  const WindSeaCase c = windsea_case(
      names, texts,
      relative ? windsea::Model::kRelativeWind : windsea::Model::kDeepWater);
  if (!c.problem.empty()) return usage(err, "windsea: " + c.problem, "windsea");
  const windsea::Report r = windsea::evaluate(c.limited.used);
  std::string text;
  if (format == "json") {
    Json j(text);
    j.begin_object();
    windsea_json(j, r, c.limited.notes);
    j.end_object();
    text.push_back('\n');
  } else {
    std::string notes;
    for (int i = 0; i < windsea::kNoteCount; ++i) {
      const auto n = static_cast<windsea::Note>(i);
      if (c.limited.notes.has(n)) {
        notes.append(kProgram).append(": note: ");
        notes.append(report::note_text(n)).append("\n");
      }
    }
    if (!notes.empty()) err.write(notes);
    report::windsea(text, r);
  }
  out.write(text);
  return kOk;
}

int swell_once(const std::vector<std::string>& args, const std::string& format,
               shell::ByteSink& out, shell::ByteSink& err) {
  const auto& names = kSwellArgs;
  if (args.size() < 2) {
    return usage(err,
                 "swell: " + std::string(names[args.size()]) +
                     " is missing; give PERIOD HEIGHT",
                 "swell");
  }
  std::vector<std::string_view> texts(args.begin(), args.end());
  const SwellCase c = swell_case(names, texts);
  if (!c.problem.empty()) return usage(err, "swell: " + c.problem, "swell");
  const swell::Field f = swell::infer(c.period, c.height);
  std::string text;
  if (format == "json") {
    Json j(text);
    j.begin_object();
    swell_json(j, f);
    j.end_object();
    text.push_back('\n');
  } else {
    report::swell(text, f);
  }
  out.write(text);
  return kOk;
}

// --- batches --------------------------------------------------------------

// A CSV cell as spreadsheets read it back: quoted when it holds a comma, a
// quote or a line end, or starts or ends with a blank.
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

void csv_row(std::string& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out.push_back(',');
    csv_cell(out, cells[i]);
  }
  out.push_back('\n');
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
    s.remove_suffix(1);
  }
  return s;
}

// Reads a file by name ("-": standard input).
class FileSource final : public shell::ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {}
  ~FileSource() override { ::close(fd_); }
  std::size_t read(char* buf, std::size_t cap) override {
    for (;;) {
      const ssize_t n = ::read(fd_, buf, cap);
      if (n >= 0) return static_cast<std::size_t>(n);
      if (errno == EINTR) continue;
      error = errno;
      return 0;
    }
  }
  int error = 0;

 private:
  int fd_;
};

enum class Kind { kWindSea, kSwell };

int batch(Kind kind, const std::string& file, bool relative,
          const std::string& format, shell::ByteSource& stdin_source,
          shell::ByteSink& out, shell::ByteSink& err) {
  const std::string command = kind == Kind::kWindSea ? "windsea" : "swell";
  std::optional<FileSource> opened;
  shell::ByteSource* source = &stdin_source;
  const std::string where = file == "-" ? "standard input" : file;
  if (file != "-") {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
      return usage(
          err, command + ": cannot read " + file + ": " + std::strerror(errno),
          command);
    }
    opened.emplace(fd);
    source = &*opened;
  }
  CsvReader reader(*source);
  Record rec;
  if (!reader.next(rec)) {
    return usage(err, command + ": " + where + " is empty; it needs a header",
                 command);
  }
  if (!rec.problem.empty()) {
    return usage(err, command + ": " + where + ": header: " + rec.problem,
                 command);
  }

  // The columns the engine reads; the others are carried through.
  const std::vector<std::string_view> known =
      kind == Kind::kWindSea
          ? std::vector<std::string_view>{"wind_kt", "duration_h", "fetch_km",
                                          "depth_m", "current_kt", "model"}
          : std::vector<std::string_view>{"period_s", "height_m"};
  const std::size_t required = kind == Kind::kWindSea ? 4 : 2;
  std::vector<std::ptrdiff_t> at(known.size(), -1);
  std::vector<std::size_t> carried;
  std::vector<std::string> carried_names;
  for (std::size_t i = 0; i < rec.fields.size(); ++i) {
    const std::string_view name = trim(rec.fields[i]);
    std::size_t k = 0;
    while (k < known.size() && known[k] != name) ++k;
    if (k == known.size()) {
      carried.push_back(i);
      carried_names.push_back(rec.fields[i]);
      continue;
    }
    if (at[k] >= 0) {
      return usage(err,
                   command + ": " + where + ": the header names column " +
                       std::string(name) + " twice",
                   command);
    }
    at[k] = static_cast<std::ptrdiff_t>(i);
  }
  for (std::size_t k = 0; k < required; ++k) {
    if (at[k] < 0) {
      return usage(err,
                   command + ": " + where + ": the header has no column " +
                       std::string(known[k]),
                   command);
    }
  }
  const std::size_t width = rec.fields.size();

  Writer w(out);
  const auto columns =
      kind == Kind::kWindSea ? windsea_columns() : swell_columns();
  const bool json = format == "json";
  std::vector<std::string> cells;
  if (!json) {
    cells = carried_names;
    cells.insert(cells.end(), columns.begin(), columns.end());
    cells.emplace_back("error");
    csv_row(w.text(), cells);
  }

  int status = kOk;
  std::string problem;
  std::vector<std::string_view> texts;
  while (reader.next(rec)) {
    problem = rec.problem;
    if (problem.empty() && rec.fields.size() != width) {
      problem = std::to_string(rec.fields.size()) +
                " fields where the header has " + std::to_string(width);
    }
    std::optional<windsea::Report> report;
    windsea::Notes notes;
    std::optional<swell::Field> field;
    auto field_text = [&](std::size_t k) -> std::string_view {
      return at[k] < 0 ? std::string_view()
                       : std::string_view(
                             rec.fields[static_cast<std::size_t>(at[k])]);
    };
    if (problem.empty() && kind == Kind::kWindSea) {
      windsea::Model model =
          relative ? windsea::Model::kRelativeWind : windsea::Model::kDeepWater;
      const std::string_view m = trim(field_text(5));
      if (m == "relative-wind") {
        model = windsea::Model::kRelativeWind;
      } else if (m == "deep-water") {
        model = windsea::Model::kDeepWater;
      } else if (!m.empty()) {
        problem = "model: " + quote(field_text(5)) +
                  " is not a model; use deep-water or relative-wind";
      }
      texts.assign(
          {field_text(0), field_text(1), field_text(2), field_text(3)});
      const std::string_view current = field_text(4);
      if (!trim(current).empty()) texts.push_back(current);
      if (problem.empty()) {
        static constexpr std::string_view names[] = {
            "wind_kt", "duration_h", "fetch_km", "depth_m", "current_kt"};
        const WindSeaCase c = windsea_case(names, texts, model);
        problem = c.problem;
        if (problem.empty()) {
          report = windsea::evaluate(c.limited.used);
          notes = c.limited.notes;
        }
      }
    } else if (problem.empty()) {
      static constexpr std::string_view names[] = {"period_s", "height_m"};
      texts.assign({field_text(0), field_text(1)});
      const SwellCase c = swell_case(names, texts);
      problem = c.problem;
      if (problem.empty()) field = swell::infer(c.period, c.height);
    }

    if (!problem.empty()) {
      status = kBadRows;
      say(err, command + ": " + where + ":" + std::to_string(rec.line) + ": " +
                   problem);
    }
    if (json) {
      Json j(w.text());
      j.begin_object();
      j.key("line").integer(rec.line);
      if (!carried.empty()) {
        j.key("input").begin_object();
        for (std::size_t i = 0; i < carried.size(); ++i) {
          j.key(carried_names[i]);
          if (carried[i] < rec.fields.size()) {
            j.utf8(rec.fields[carried[i]]);
          } else {
            j.null();
          }
        }
        j.end_object();
      }
      if (report) windsea_json(j, *report, notes);
      if (field) swell_json(j, *field);
      j.key("error");
      if (problem.empty()) {
        j.null();
      } else {
        j.utf8(problem);
      }
      j.end_object();
      w.text().push_back('\n');
    } else {
      cells.clear();
      for (std::size_t i : carried) {
        cells.push_back(i < rec.fields.size() ? rec.fields[i] : "");
      }
      if (report) windsea_cells(cells, *report, notes);
      if (field) swell_cells(cells, *field);
      if (!problem.empty()) cells.resize(cells.size() + columns.size());
      cells.push_back(problem);
      csv_row(w.text(), cells);
    }
    w.maybe_flush();
  }
  w.flush();
  if (opened && opened->error != 0) {
    say(err, command + ": cannot read " + file + ": " +
                 std::strerror(opened->error));
    return kUsage;
  }
  return status;
}

// The --format option, the same for both commands.
void add_format(CLI::App* command, std::string& format) {
  command
      ->add_option("--format", format,
                   "text (one case, the default), json (one case, or a batch "
                   "as JSON Lines) or csv (a batch, the default)")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->type_name("FORMAT");
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

  // Values are read as text, so that a bad one can be named and explained.
  static constexpr const char* windsea_help[] = {
      "wind speed, knots: 1 to 65, compressed above 65 and at most 70",
      "duration of the wind, hours: 1 to 200", "fetch, km: 1 to 5000",
      "water depth, m: 1 to 5000",
      ("current, knots: -15 to 15, positive with the wind, negative "
       "against it; 0 when left out (above 1000: taken as 0)")};
  std::array<std::string, 5> windsea_text;
  std::array<CLI::Option*, 5> windsea_given{};
  bool relative = false;
  std::string windsea_format;
  std::string windsea_file;
  CLI::App* ws = app.add_subcommand(
      "windsea",
      "The wind sea from wind, duration, fetch, depth and current. Entries "
      "outside the model's ranges are limited, with a note.");
  static constexpr const char* windsea_units[] = {"KNOTS", "HOURS", "KM", "M",
                                                  "KNOTS"};
  for (std::size_t i = 0; i < 5; ++i) {
    windsea_given[i] = ws->add_option(std::string(kWindSeaArgs[i]),
                                      windsea_text[i], windsea_help[i])
                           ->type_name(windsea_units[i]);
  }
  ws->add_flag("--relative", relative,
               "the sea raised by the wind relative to the water, in deep "
               "water, instead of the deep-water sea carried into the depth "
               "and current");
  add_format(ws, windsea_format);
  ws->add_option("--batch", windsea_file,
                 "a CSV file (- for standard input) with the columns "
                 "wind_kt,duration_h,fetch_km,depth_m and optionally "
                 "current_kt and model (deep-water or relative-wind); other "
                 "columns are carried through; one output row per row")
      ->type_name("FILE");

  std::array<std::string, 2> swell_text;
  std::array<CLI::Option*, 2> swell_given{};
  std::string swell_format;
  std::string swell_file;
  CLI::App* sw = app.add_subcommand(
      "swell",
      "The wind field behind an observed swell: speed, Beaufort force and "
      "distance.");
  swell_given[0] = sw->add_option(std::string(kSwellArgs[0]), swell_text[0],
                                  "period of the swell, seconds: 0.1 or more")
                       ->type_name("SECONDS");
  swell_given[1] = sw->add_option(std::string(kSwellArgs[1]), swell_text[1],
                                  "height of the swell, metres")
                       ->type_name("METRES");
  add_format(sw, swell_format);
  sw->add_option("--batch", swell_file,
                 "a CSV file (- for standard input) with the columns "
                 "period_s,height_m; other columns are carried through")
      ->type_name("FILE");

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

  const bool is_windsea = ws->parsed();
  const std::string& file = is_windsea ? windsea_file : swell_file;
  std::string format = is_windsea ? windsea_format : swell_format;
  std::vector<std::string> values;
  if (is_windsea) {
    for (std::size_t i = 0; i < 5 && windsea_given[i]->count() > 0; ++i) {
      values.push_back(windsea_text[i]);
    }
  } else {
    for (std::size_t i = 0; i < 2 && swell_given[i]->count() > 0; ++i) {
      values.push_back(swell_text[i]);
    }
  }
  const std::string command = is_windsea ? "windsea" : "swell";
  const bool batched = !file.empty();
  if (batched) {
    if (!values.empty()) {
      return usage(err,
                   command + ": --batch reads its cases from " + file +
                       "; give no values besides",
                   command);
    }
    if (format.empty()) format = "csv";
    if (format == "text") {
      return usage(err,
                   command +
                       ": --format text is for one case; a batch is "
                       "csv or json",
                   command);
    }
    return batch(is_windsea ? Kind::kWindSea : Kind::kSwell, file, relative,
                 format, in, out, err);
  }
  if (format.empty()) format = "text";
  if (format == "csv") {
    return usage(err,
                 command +
                     ": --format csv is for a batch; one case is text "
                     "or json",
                 command);
  }
  return is_windsea ? windsea_once(values, relative, format, out, err)
                    : swell_once(values, format, out, err);
}

}  // namespace cli

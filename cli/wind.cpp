#include "morvelstandrik/cli/wind.hpp"

#include "morvelstandrik/cli/cli.hpp"

#ifdef MORVEL_GRIB

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <optional>
#include <variant>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/cli/json.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/shortest.hpp"
#include "morvelstandrik/geo/position.hpp"
#include "morvelstandrik/grib/steady.hpp"
#include "morvelstandrik/grib/wind.hpp"
#include "morvelstandrik/shell/platform.hpp"

namespace cli {
namespace {

constexpr double kMsPerKnot = 1852.0 / 3600.0;

grib::SteadyRules rules_of(const GribOptions& g) {
  grib::SteadyRules r;
  r.direction_deg = g.steady_direction;
  r.speed_kt = g.steady_speed;
  r.max_gap_s = static_cast<std::int64_t>(std::llround(g.max_gap_h * 3600));
  r.method = g.duration_method == "equivalent"
                 ? grib::DurationMethod::kEquivalent
                 : grib::DurationMethod::kSteady;
  return r;
}

std::int64_t clock_now(const GribOptions& g) {
  return g.now ? static_cast<std::int64_t>(*g.now)
               : static_cast<std::int64_t>(std::time(nullptr));
}

// The record at the time asked for (or by the clock); empty, or why not.
std::string pick(const GribOptions& g, std::optional<std::int64_t> asked,
                 std::span<const grib::Record> s, std::size_t& at) {
  if (!asked) {
    // The latest record not after the clock, or the first.
    at = grib::record_at(s, clock_now(g))
             .value_or(clock_now(g) > s.back().time ? s.size() - 1 : 0);
    return {};
  }
  const std::optional<std::size_t> k = grib::record_at(s, *asked);
  if (!k) {
    return "the time " + grib::format_time(*asked) +
           " is outside the files, which run from " +
           grib::format_time(s.front().time) + " to " +
           grib::format_time(s.back().time);
  }
  at = *k;
  return {};
}

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

// The direction in whole degrees, 0 to 359 ("359.6" is 0).
std::string degrees(std::optional<double> d) {
  if (!d) return "calm";
  long whole = std::lround(*d);
  if (whole == 360) whole = 0;
  return std::to_string(whole);
}

std::string hours_text(double h) {
  return shortest(static_cast<float>(h));
}

// The window in words, a few lines.
void describe(std::string& out, const grib::Window& w,
              std::span<const grib::Record> s, const grib::SteadyRules& r) {
  const bool steady = r.method == grib::DurationMethod::kSteady;
  out += "At " + grib::format_time(s[w.last].time) + " the wind has blown\n";
  out += std::string(steady ? "  steadily for    " : "  equivalent to   ") +
         (w.at_least ? "at least " : "") + hours_text(w.hours) + " h, since " +
         grib::format_time(w.start) + "\n";
  out += std::string(steady ? "  mean speed      " : "  speed           ") +
         fixed(w.wind_kt, 1) + " kt (" + fixed(w.wind_kt * kMsPerKnot, 1) +
         " m/s)\n";
  out += std::string(steady ? "  mean direction  " : "  direction       ") +
         (w.from_deg ? "from " + degrees(w.from_deg) + " deg true" : "calm") +
         "\n";
  if (steady) {
    out += "  records         " + grib::format_time(s[w.first].time) + " to " +
           grib::format_time(s[w.last].time) + ", within " +
           shortest(static_cast<float>(r.direction_deg)) + " deg and " +
           shortest(static_cast<float>(r.speed_kt)) +
           " kt of the mean, gaps up to " +
           shortest(static_cast<float>(r.max_gap_s / 3600.0)) + " h\n";
  } else {
    out += "  sea raised from " + grib::format_time(s[w.first].time) +
           " by the winds since, each as much as it has raised it\n";
  }
}

void json_window(Json& j, const grib::Window& w,
                 std::span<const grib::Record> s, const grib::SteadyRules& r) {
  j.begin_object();
  j.key("time").text(grib::format_time(s[w.last].time));
  j.key("method").text(
      r.method == grib::DurationMethod::kSteady ? "steady" : "equivalent");
  j.key("start").text(grib::format_time(w.start));
  j.key("first_record").text(grib::format_time(s[w.first].time));
  j.key("duration_h").number(static_cast<float>(w.hours));
  j.key("at_least").boolean(w.at_least);
  j.key("wind_kt").number(static_cast<float>(w.wind_kt));
  j.key("wind_ms").number(static_cast<float>(w.wind_kt * kMsPerKnot));
  j.key("from_deg");
  if (w.from_deg) {
    j.number(static_cast<float>(*w.from_deg));
  } else {
    j.null();
  }
  j.end_object();
}

struct Read {
  std::vector<geo::Position> at;
  std::vector<grib::Series> series;
  std::string problem;
};

// The files read at the positions; a problem names the file and message.
Read read(const GribOptions& g, std::vector<geo::Position> at) {
  Read r;
  r.at = std::move(at);
  try {
    r.series = grib::read_wind_files(
        g.files, r.at,
        g.nearest ? grib::Method::kNearest : grib::Method::kBilinear);
  } catch (const grib::Error& e) {
    r.problem = e.what();
  }
  return r;
}

// Where the wind of one case comes from, and the texts the engine reads.
struct Sourced {
  grib::Window w;
  std::int64_t time = 0;
  std::string wind, duration;  // shortest texts of the engine's floats
  std::string fetch;           // as given, or from the coastline
  std::string fetch_from;      // "--fetch", "fetch_km", "coastline"
  FetchOrigin origin;          // with fetch_from "coastline"
};

// The coastline of a run's fetches: loaded when first asked for, then kept
// for every row.
struct Coastline {
  const CoastOptions& options;
  std::unique_ptr<FetchFinder> finder;
  std::string problem;
  bool tried = false;
  // For one case: its position, so that only the coastline near it is read.
  std::string lat, lon;
};

// A position or direction as the text the fetch finder reads: the
// shortest that reads back as the same double.
std::string exact_text(double v) {
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

// The fetch along the direction the wind blows from, upwind of the
// position, over the run's coastline; none, with why, when there is none
// to give (no coastline data, or the position on land).
std::optional<float> fetch_from_coastline(Coastline& c, double lat, double lon,
                                          double from_deg, FetchOrigin& origin,
                                          std::string& why) {
  if (!c.tried) {
    c.tried = true;
    c.finder = c.lat.empty()
                   ? load_finder(c.options, c.problem)
                   : load_finder_near(c.options, c.lat, c.lon, c.problem);
  }
  if (!c.finder) {
    why = c.problem;
    return std::nullopt;
  }
  why = c.finder->find(exact_text(lat), exact_text(lon), exact_text(from_deg),
                       origin);
  if (!why.empty()) return std::nullopt;
  return origin.engine_km;
}

// The wind and duration at a position, and the fetch; empty, or why not.
std::string source(const GribOptions& g, const grib::Series& series,
                   const geo::Position& p, std::optional<std::int64_t> asked,
                   std::optional<std::string_view> fetch,
                   std::string_view fetch_name, Coastline& coast,
                   Sourced& out) {
  if (!series.error.empty()) return series.error;
  std::size_t at = 0;
  if (std::string why = pick(g, asked, series.records, at); !why.empty()) {
    return why;
  }
  const grib::SteadyRules rules = rules_of(g);
  out.w = grib::window(series.records, at, rules);
  out.time = series.records[at].time;
  out.wind = shortest(static_cast<float>(out.w.wind_kt));
  out.duration = shortest(static_cast<float>(out.w.hours));
  if (fetch) {
    out.fetch = std::string(*fetch);
    out.fetch_from = std::string(fetch_name);
    return {};
  }
  if (!out.w.from_deg) {
    return "the wind is calm at " + grib::format_time(out.time) +
           ": no direction to take the fetch along; give --fetch";
  }
  std::string why;
  const std::optional<float> km = fetch_from_coastline(
      coast, p.lat, p.lon, *out.w.from_deg, out.origin, why);
  if (!km) return why + "; give --fetch KM";
  out.fetch = shortest(*km);
  out.fetch_from = "coastline";
  return {};
}

// The texts of the windsea case: wind and duration from the files, the
// rest as given.
// In a file with decimal commas the texts of the numbers worked out here
// are written with commas too.
CaseTexts texts_of(const CaseTexts& given, Sourced& s) {
  if (given.decimal_comma) {
    for (std::string* text : {&s.wind, &s.duration}) {
      std::replace(text->begin(), text->end(), '.', ',');
    }
    if (s.fetch_from == "coastline") {
      std::replace(s.fetch.begin(), s.fetch.end(), '.', ',');
    }
  }
  CaseTexts t = given;
  t.text[0] = s.wind;
  t.name[0] = "wind from GRIB";
  t.text[1] = s.duration;
  t.name[1] = "duration from GRIB";
  t.text[2] = s.fetch;
  return t;
}

// The members that say where the entries came from.
void json_source(Json& j, const GribOptions& g, const geo::Position& p,
                 const Sourced& s) {
  j.key("source").begin_object();
  j.key("files").begin_array();
  for (const std::string& f : g.files) j.utf8(f);
  j.end_array();
  j.key("lat").number(static_cast<float>(p.lat));
  j.key("lon").number(static_cast<float>(p.lon));
  j.key("interpolation").text(g.nearest ? "nearest" : "bilinear");
  j.key("time").text(grib::format_time(s.time));
  j.key("wind").text("grib");
  j.key("duration").text("grib");
  j.key("fetch").utf8(s.fetch_from);
  if (s.fetch_from == "coastline") {
    j.key("fetch_method").text(s.origin.method);
    j.key("coast").utf8(s.origin.source);
    j.key("resolution").text(s.origin.resolution);
    j.key("fetch_open").boolean(s.origin.open);
  }
  j.end_object();
  // The engine's duration_h is this, limited to the model's range.
  j.key("window_start").text(grib::format_time(s.w.start));
  j.key("window_duration_h").number(static_cast<float>(s.w.hours));
  j.key("at_least").boolean(s.w.at_least);
  j.key("from_deg");
  if (s.w.from_deg) {
    j.number(static_cast<float>(*s.w.from_deg));
  } else {
    j.null();
  }
}

// A JSON line with more members before its closing brace.
void splice(std::string& line, const std::string& members) {
  // line ends in "}\n"
  line.resize(line.size() - 2);
  line += "," + members + "}\n";
}

int windsea_one(const Request& q, const GribOptions& g,
                std::optional<std::int64_t> asked, shell::ByteSink& out,
                shell::ByteSink& err) {
  const std::string command(q.name());
  geo::Position p;
  try {
    p = geo::parse_position(g.at);
  } catch (const geo::BadInput& e) {
    return usage(err, command + ": --at: " + e.what(), command);
  }
  const Read r = read(g, {p});
  if (!r.problem.empty()) {
    say(err, command + ": " + r.problem);
    return kUsage;
  }
  Sourced s;
  Coastline coast{g.coast, {}, {}, false, exact_text(p.lat), exact_text(p.lon)};
  const std::string why = source(g, r.series[0], p, asked, q.texts.text[2],
                                 q.texts.name[2], coast, s);
  if (!why.empty()) {
    say(err, command + ": " + why);
    return kUsage;
  }
  const CaseTexts t = texts_of(q.texts, s);
  const std::variant<Result, Refusal> got = evaluate(*q.command, t);
  if (const Refusal* refusal = std::get_if<Refusal>(&got)) {
    return usage(err, command + ": " + refusal->message(), command);
  }
  const Result& result = std::get<Result>(got);
  std::string text;
  if (q.format == "json") {
    JsonWriter writer(nullptr, q.with_report);
    writer.row(text, nullptr, &result, {});
    std::string members;
    Json j(members);
    j.begin_object();
    json_source(j, g, p, s);
    j.end_object();
    splice(text, members.substr(1, members.size() - 2));
    out.write(text);
    return kOk;
  }
  if (const std::string said = note_lines(result); !said.empty()) {
    err.write(said);
  }
  std::string files;
  for (const std::string& f : g.files) files += (files.empty() ? "" : ", ") + f;
  text += "Wind from " + files + " at " + g.at + " (" +
          (g.nearest ? "nearest grid point" : "bilinear") + "), " +
          grib::format_time(s.time) + ":\n";
  const bool by_steady = g.duration_method != "equivalent";
  text += "  wind      " + s.wind + " kt from " + degrees(s.w.from_deg) +
          (s.w.from_deg ? " deg true" : "") +
          (by_steady ? ": mean of the steady window\n"
                     : ": the wind at this time\n");
  text += "  duration  " + s.duration + " h" +
          (s.w.at_least ? ", at least" : "") + ", since " +
          grib::format_time(s.w.start) +
          (by_steady ? ": the steady window\n" : ": equivalent duration\n");
  text +=
      "  fetch     " + s.fetch + " km: " +
      (s.fetch_from == "coastline"
           ? "from the coastline upwind (" + s.origin.method + ", " +
                 s.origin.source +
                 (s.origin.resolution.empty() ? ""
                                              : " " + s.origin.resolution) +
                 (s.origin.open ? "; open water to the cap: at least" : "") +
                 ")"
           : "as given (" + s.fetch_from + ")") +
      "\n";
  text += "  depth and current as given\n";
  render(text, result);
  out.write(text);
  return kOk;
}

// The batch: one row per site; the files are read once for all of them.
// The columns of a batch of sites: lat, lon, time, depth_m, current_kt,
// fetch_km (-1 where absent).
using SiteColumns = std::array<std::ptrdiff_t, 6>;

// Finds the columns in a header (any letter case, blanks around allowed):
// empty, or the name of the first required one missing.
std::string site_columns(const Record& header, SiteColumns& col) {
  static constexpr const char* names[] = {"lat",     "lon",        "time",
                                          "depth_m", "current_kt", "fetch_km"};
  col.fill(-1);
  for (std::size_t i = 0; i < header.fields.size(); ++i) {
    std::string name(fields::trim(header.fields[i]));
    for (char& c : name) c = static_cast<char>(std::tolower(c));
    for (std::size_t k = 0; k < col.size(); ++k) {
      if (name == names[k]) col[k] = static_cast<std::ptrdiff_t>(i);
    }
  }
  for (std::size_t k = 0; k < 4; ++k) {
    if (col[k] < 0) return names[k];
  }
  return {};
}

// A row's cell in column k, trimmed; none when absent or blank.
std::optional<std::string_view> cell(const Record& r, std::ptrdiff_t k) {
  if (k < 0 || static_cast<std::size_t>(k) >= r.fields.size()) {
    return std::nullopt;
  }
  const std::string_view v = fields::trim(r.fields[static_cast<size_t>(k)]);
  if (v.empty()) return std::nullopt;
  return v;
}

// The rows' positions: at[slot[k]] is row k's, unless problems[k] says
// why it has none.
struct Sites {
  std::vector<std::string> problems;
  std::vector<geo::Position> at;
  std::vector<std::size_t> slot;
};

Sites sites_of(const std::vector<Record>& rows, const SiteColumns& col) {
  Sites s;
  s.problems.resize(rows.size());
  s.slot.resize(rows.size(), 0);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (!rows[k].problem.empty()) {
      s.problems[k] = rows[k].problem;
      continue;
    }
    try {
      const auto lat = cell(rows[k], col[0]);
      const auto lon = cell(rows[k], col[1]);
      if (!lat || !lon) throw geo::BadInput("lat and lon are required");
      s.slot[k] = s.at.size();
      s.at.push_back(geo::parse_position(*lat, *lon));
    } catch (const geo::BadInput& e) {
      s.problems[k] = std::string("position: ") + e.what();
    }
  }
  return s;
}

int windsea_batch(const Request& q, const GribOptions& g,
                  shell::ByteSource& stdin_source, shell::ByteSink& out,
                  shell::ByteSink& err) {
  const std::string command(q.name());
  const std::string where = q.file == "-" ? "standard input" : q.file;
  std::string opening;
  BatchInput input(q.file, stdin_source, opening);
  if (!opening.empty()) return usage(err, command + ": " + opening, command);
  CsvReader reader(input.source(),
                   q.delimiter ? q.delimiter : kDetectDelimiter);
  Record header;
  if (!reader.next(header)) {
    return usage(err, command + ": " + where + " is empty; it needs a header",
                 command);
  }
  SiteColumns col;
  if (const std::string missing = site_columns(header, col); !missing.empty()) {
    return usage(err,
                 command + ": " + where + ": the header has no column " +
                     missing +
                     " (with --grib the columns are lat, lon, time, "
                     "depth_m and optional current_kt, fetch_km)",
                 command);
  }
  const bool comma = reader.delimiter() == ';';
  std::vector<Record> rows;
  for (Record r; reader.next(r);) rows.push_back(r);
  const Sites sites = sites_of(rows, col);
  const std::vector<std::string>& problems = sites.problems;
  const std::vector<std::size_t>& slot = sites.slot;
  const Read r = read(g, sites.at);
  if (!r.problem.empty()) {
    say(err, command + ": " + r.problem);
    return kUsage;
  }

  // The rows written as a batch's, with the source's columns after the
  // input's.
  Layout layout;
  const char* extra[] = {"grib_time", "window_start", "at_least", "from_deg"};
  const std::size_t width = header.fields.size();
  for (std::size_t i = 0; i < width + 4; ++i) {
    layout.carried.push_back(i);
    layout.carried_names.push_back(i < width ? header.fields[i]
                                             : extra[i - width]);
  }
  Layout json_layout;
  for (std::size_t i = 0; i < width; ++i) {
    json_layout.carried.push_back(i);
    json_layout.carried_names.push_back(header.fields[i]);
  }
  const bool json = q.format == "json";
  const char delimiter = q.delimiter ? q.delimiter : ',';
  CsvWriter csv(*q.command, layout, delimiter);
  JsonWriter writer(&json_layout, q.with_report);
  std::string text;
  if (!json) csv.header(text);
  bool bad = false;
  Coastline coast{g.coast, {}, {}, false, {}, {}};
  for (std::size_t k = 0; k < rows.size(); ++k) {
    Record row = rows[k];
    row.fields.resize(std::max(row.fields.size(), width));
    Sourced s;
    std::string problem = problems[k];
    std::optional<std::int64_t> asked;
    if (problem.empty()) {
      if (const auto t = cell(row, col[2])) {
        try {
          asked = grib::parse_time(*t);
        } catch (const grib::Error& e) {
          problem = std::string("time: ") + e.what();
        }
      }
    }
    if (problem.empty()) {
      problem = source(g, r.series[slot[k]], r.at[slot[k]], asked,
                       cell(row, col[5]), "fetch_km", coast, s);
    }
    std::optional<Result> result;
    if (problem.empty()) {
      CaseTexts given;
      given.model = q.model();
      given.decimal_comma = comma;
      given.name = {"wind_kt", "duration_h", "fetch_km", "depth_m",
                    "current_kt"};
      given.text[3] = cell(row, col[3]);
      given.text[4] = cell(row, col[4]);
      const CaseTexts t = texts_of(given, s);
      std::variant<Result, Refusal> got = evaluate(*q.command, t);
      if (Refusal* refusal = std::get_if<Refusal>(&got)) {
        problem = refusal->message();
      } else {
        result = std::get<Result>(got);
      }
    }
    if (!problem.empty()) {
      bad = true;
      err.write(std::string(kProgram) + ": " + command + ": " + where + ": " +
                std::to_string(row.line) + ": " + problem + "\n");
    }
    const Result* res = result ? &*result : nullptr;
    if (json) {
      std::string line;
      writer.row(line, &row, res, problem);
      if (problem.empty()) {
        std::string members;
        Json j(members);
        j.begin_object();
        json_source(j, g, r.at[slot[k]], s);
        j.end_object();
        splice(line, members.substr(1, members.size() - 2));
      }
      text += line;
    } else {
      if (problem.empty()) {
        row.fields.push_back(grib::format_time(s.time));
        row.fields.push_back(grib::format_time(s.w.start));
        row.fields.push_back(s.w.at_least ? "true" : "false");
        row.fields.push_back(
            s.w.from_deg ? shortest(static_cast<float>(*s.w.from_deg)) : "");
      }
      csv.row(text, &row, res, problem);
    }
    if (text.size() > (1 << 16)) {
      out.write(text);
      text.clear();
    }
  }
  out.write(text);
  return bad ? kBadRows : kOk;
}

}  // namespace

bool grib_supported() {
  return true;
}

int wind(const GribOptions& g, const std::string& format, shell::ByteSink& out,
         shell::ByteSink& err) {
  const std::string command = "wind";
  geo::Position p;
  std::optional<std::int64_t> asked;
  try {
    p = geo::parse_position(g.at);
  } catch (const geo::BadInput& e) {
    return usage(err, command + ": --at: " + e.what(), command);
  }
  if (!g.time.empty()) {
    try {
      asked = grib::parse_time(g.time);
    } catch (const grib::Error& e) {
      return usage(err, command + ": --time: " + e.what(), command);
    }
  }
  const Read r = read(g, {p});
  std::string problem = r.problem;
  if (problem.empty()) problem = r.series[0].error;
  std::size_t at = 0;
  if (problem.empty()) problem = pick(g, asked, r.series[0].records, at);
  if (!problem.empty()) {
    say(err, command + ": " + problem);
    return kUsage;
  }
  const std::vector<grib::Record>& s = r.series[0].records;
  const grib::SteadyRules rules = rules_of(g);
  const grib::Window w = grib::window(s, at, rules);
  std::string text;
  if (format == "text") {
    text += "time               wind_kt  wind_ms  from_deg\n";
    for (const grib::Record& rec : s) {
      const double kt = grib::speed_kt(rec.u, rec.v);
      char line[96];
      std::snprintf(line, sizeof line, "%-17s %8.1f %8.1f %9s\n",
                    grib::format_time(rec.time).c_str(), kt, kt * kMsPerKnot,
                    degrees(grib::from_deg(rec.u, rec.v)).c_str());
      text += line;
    }
    text += "\n";
    describe(text, w, s, rules);
  } else if (format == "csv") {
    text += "time,wind_kt,wind_ms,from_deg,in_window\n";
    for (std::size_t k = 0; k < s.size(); ++k) {
      const double kt = grib::speed_kt(s[k].u, s[k].v);
      const std::optional<double> from = grib::from_deg(s[k].u, s[k].v);
      text += grib::format_time(s[k].time) + "," +
              shortest(static_cast<float>(kt)) + "," +
              shortest(static_cast<float>(kt * kMsPerKnot)) + "," +
              (from ? shortest(static_cast<float>(*from)) : "") + "," +
              (k >= w.first && k <= w.last ? "1" : "0") + "\n";
    }
    std::string said;
    describe(said, w, s, rules);
    for (std::size_t at_line = 0; at_line < said.size();) {
      const std::size_t end = said.find('\n', at_line);
      say(err, "wind: " + said.substr(at_line, end - at_line));
      at_line = end + 1;
    }
  } else {
    for (const grib::Record& rec : s) {
      const double kt = grib::speed_kt(rec.u, rec.v);
      Json j(text);
      j.begin_object();
      j.key("time").text(grib::format_time(rec.time));
      j.key("wind_kt").number(static_cast<float>(kt));
      j.key("wind_ms").number(static_cast<float>(kt * kMsPerKnot));
      j.key("from_deg");
      if (const auto from = grib::from_deg(rec.u, rec.v)) {
        j.number(static_cast<float>(*from));
      } else {
        j.null();
      }
      j.end_object();
      text += "\n";
    }
    std::string line;
    Json j(line);
    j.begin_object();
    j.key("window");
    json_window(j, w, s, rules);
    j.end_object();
    line += "\n";
    text += line;
  }
  out.write(text);
  return kOk;
}

int windsea_grib(const Request& q, const GribOptions& g, shell::ByteSource& in,
                 shell::ByteSink& out, shell::ByteSink& err) {
  const std::string command(q.name());
  std::optional<std::int64_t> asked;
  if (!g.time.empty()) {
    try {
      asked = grib::parse_time(g.time);
    } catch (const grib::Error& e) {
      return usage(err, command + ": --time: " + e.what(), command);
    }
  }
  if (!q.file.empty()) return windsea_batch(q, g, in, out, err);
  return windsea_one(q, g, asked, out, err);
}

}  // namespace cli

#else  // a build without GRIB support

namespace cli {
namespace {
int unsupported(std::string_view command, shell::ByteSink& err) {
  say(err, std::string(command) +
               ": this build has no GRIB support (it is in the Linux "
               "program and packages)");
  return kUsage;
}
}  // namespace

bool grib_supported() {
  return false;
}

int wind(const GribOptions&, const std::string&, shell::ByteSink&,
         shell::ByteSink& err) {
  return unsupported("wind", err);
}

int windsea_grib(const Request& q, const GribOptions&, shell::ByteSource&,
                 shell::ByteSink&, shell::ByteSink& err) {
  return unsupported(q.name(), err);
}

}  // namespace cli

#endif

#include "morvelstandrik/cli/cli.hpp"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "morvelstandrik/cli/batch.hpp"
#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/fetch_command.hpp"
#include "morvelstandrik/cli/modes.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/cli/suggest.hpp"
#include "morvelstandrik/cli/wind.hpp"

#ifndef MORVEL_VERSION
#define MORVEL_VERSION "unknown"
#endif

namespace cli {
namespace {

// One command's arguments as the parser keeps them.
struct Parsed {
  CLI::App* app = nullptr;
  std::array<std::string, kMaxEntries> by_argument, by_option;
  std::array<CLI::Option*, kMaxEntries> argument_given{}, option_given{};
  std::array<std::string, kMaxEntries> option_names;  // "--wind"
  // The unit options of the entries with a quantity: "--wind-unit".
  std::array<std::string, kMaxEntries> unit_text, unit_names;
  std::array<CLI::Option*, kMaxEntries> unit_given{};
  std::string delimiter;  // as given
  CLI::Option* delimiter_given = nullptr;
  std::vector<CLI::Option*> coast_given;  // --coast, --method, ...
  Request q;
  GribOptions grib;  // windsea --grib
  CLI::Option* grib_given = nullptr;
};

// The columns of an entry in each unit: "wind_kt, wind_ms, ... or wind_bft".
std::string units_columns(const Entry& e) {
  std::string columns;
  std::string last;
  for (const units::Unit& u : units::table()) {
    if (u.quantity != *e.quantity) continue;
    if (!last.empty()) columns += (columns.empty() ? "" : ", ") + last;
    last = unit_column(u);
  }
  return columns + " or " + last;
}

// The help of an entry's unit option: "the unit of WIND, given here or on
// the lines of --lines: kt, m/s, ...".
std::string unit_help(const Entry& e) {
  const units::Quantity q = *e.quantity;
  std::string help =
      "the unit of " + std::string(e.argument) +
      ", given here or on the lines of --lines: " + units::allowed(q) + "; " +
      std::string(units::engine_unit(q).name) + " when left out";
  if (units::find(q, "bft")) {
    help +=
        ". bft is a whole Beaufort force 0 to 12, taken as the mean of its "
        "range in whole knots (force 3, 7 to 10 kt: 8.5 kt; force 12: 64 kt)";
  }
  help += ". A batch file names the unit in its column instead: " +
          units_columns(e);
  return help;
}

// The options that choose the coastline and the method, for the fetch
// command and for a command whose fetch a coastline may give.
void add_coast_choices(CLI::App* app, CoastOptions& o,
                       std::vector<CLI::Option*>& given) {
  given.push_back(
      app->add_option("--coast", o.file,
                      "the coastline: a file of land polygons, an ESRI "
                      "shapefile (.shp) or GeoJSON, in degrees (default: the "
                      "GSHHG coastline of Debian's gmt-gshhg packages)")
          ->type_name("FILE"));
  given.push_back(
      app->add_option("--resolution", o.resolution,
                      "the GSHHG resolution: f (full), h (high), i "
                      "(intermediate), l (low), c (crude), or auto, the "
                      "finest installed (the default)")
          ->type_name("RES"));
  given.push_back(
      app->add_option("--method", o.method,
                      "spm (the default: the mean of 9 radials 3 degrees "
                      "apart, the Shore Protection Manual), saville (15 "
                      "radials 6 degrees apart weighted by their cosine, "
                      "Saville's effective fetch) or line (the one radial "
                      "along the wind)")
          ->type_name("METHOD"));
  given.push_back(
      app->add_option("--max-fetch", o.max_fetch,
                      "the cap, km (default 500): a radial that meets no "
                      "shore within it counts as the cap, open water")
          ->type_name("KM"));
}

// --at and --from, for a command with a fetch entry.
void add_position(Parsed& p) {
  Request& q = p.q;
  p.app
      ->add_option("--at", q.at,
                   "the position, LAT,LON in decimal degrees or degrees and "
                   "minutes with hemisphere letters (54d30N,10d15E): the "
                   "fetch comes from the coastline, upwind of it, in place "
                   "of FETCH (give CURRENT then as --current)")
      ->type_name("LAT,LON");
  p.app
      ->add_option("--from", q.from,
                   "with --at: where the wind blows from, degrees true (0 to "
                   "360) or a compass point (N, NNE, ..., NNW)")
      ->type_name("DIR");
  add_coast_choices(p.app, q.coast, p.coast_given);
}

// The options of the wind from GRIB files: when, and the rules for how long
// the wind has blown (the position is --at).
void add_grib_options(CLI::App* app, GribOptions& g) {
  app->add_option("--time", g.time,
                  "the time, ISO 8601 UTC (2026-12-10T06:00Z); the latest "
                  "record not after it is taken. Default: the latest record "
                  "not after now, or the first if all are later")
      ->type_name("TIME");
  app->add_flag("--nearest", g.nearest,
                "the wind of the nearest grid point instead of the bilinear "
                "interpolation between the four around the position");
  app->add_option("--steady-direction", g.steady_direction,
                  "steady: every record within this many degrees of the "
                  "window's mean direction (default 15)")
      ->check(CLI::Range(0.0, 180.0))
      ->type_name("DEG");
  app->add_option("--steady-speed", g.steady_speed,
                  "steady: every record within this many knots of the "
                  "window's mean speed (default 5)")
      ->check(CLI::Range(0.0, 1000.0))
      ->type_name("KNOTS");
  app->add_option("--max-gap", g.max_gap_h,
                  "a gap between records longer than this many hours ends "
                  "the window (default 6)")
      ->check(CLI::Range(0.0, 100000.0))
      ->type_name("HOURS");
  app->add_option("--duration-method", g.duration_method,
                  "steady (the window of steady wind back from the time, the "
                  "default) or equivalent (the sea raised by each record's "
                  "wind in turn, as long as the present wind would have "
                  "needed)")
      ->check(CLI::IsMember({"steady", "equivalent"}))
      ->type_name("METHOD");
}

// The wind command's arguments as the parser keeps them.
struct WindParsed {
  CLI::App* app = nullptr;
  GribOptions g;
  std::string format = "text";
};

void add_wind(CLI::App& app, WindParsed& w) {
  w.app = app.add_subcommand(
      "wind",
      "The 10 m wind at a position from GRIB forecast files, one line per "
      "validity time, and how long it has blown steadily at a time.");
  w.app->add_option("FILE", w.g.files, "GRIB files (edition 1 or 2)")
      ->required()
      ->type_name("FILE...");
  w.app
      ->add_option("--at", w.g.at,
                   "the position: LAT,LON in decimal degrees (54.5,10.25) or "
                   "degrees and minutes with hemisphere letters "
                   "(54d30N,10d15E)")
      ->type_name("LAT,LON");
  add_grib_options(w.app, w.g);
  w.app
      ->add_option("--format", w.format,
                   "text (the default), csv or json (JSON Lines: time, "
                   "wind_kt, wind_ms, from_deg; then the window)")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->type_name("FORMAT");
  w.app->footer(
      "Speeds in knots (m/s x 3600/1852) and m/s; directions the wind blows "
      "from, degrees true.\n\n"
      "Examples:\n"
      "  morvelstandrik wind gfs.grib2 --at 54.5,10.25\n"
      "  morvelstandrik wind a.grib2 b.grib2 --at 54d30N,10d15E --time "
      "2026-12-10T06:00Z --format json\n");
}

// The entries, as arguments and as named options.
void add_entries(const Command& c, Parsed& p) {
  // Values are read as text, so that a bad one can be named and explained.
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    const Entry& e = c.entries[i];
    p.argument_given[i] =
        p.app
            ->add_option(std::string(e.argument), p.by_argument[i],
                         std::string(e.help))
            ->type_name(std::string(e.type));
    p.option_names[i] = "--" + std::string(e.option);
    p.option_given[i] =
        p.app
            ->add_option(p.option_names[i], p.by_option[i],
                         "the same as " + std::string(e.argument))
            ->type_name(std::string(e.type));
  }
  // The units after the entries, so that the help lists them together.
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    const Entry& e = c.entries[i];
    if (!e.quantity) continue;
    p.unit_names[i] = "--" + unit_option(*e.quantity);
    p.unit_given[i] =
        p.app->add_option(p.unit_names[i], p.unit_text[i], unit_help(e))
            ->type_name("UNIT");
  }
}

// The batch's columns as the help lists them.
std::string batch_columns(const Command& c) {
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
  return columns;
}

// The batch columns that give an entry in a unit other than its own:
// "wind_ms, wind_kmh, ..., depth_fathom"; empty for none.
std::string other_unit_columns(const Command& c) {
  std::string columns;
  for (const Entry& e : c.entries) {
    if (!e.quantity) continue;
    for (const units::Unit& u : units::table()) {
      if (u.quantity != *e.quantity || &u == &units::engine_unit(u.quantity)) {
        continue;
      }
      columns += (columns.empty() ? "" : ", ") + unit_column(u);
    }
  }
  return columns;
}

// Where the cases come from, and how many threads compute them.
void add_sources(const Command& c, Parsed& p) {
  Request& q = p.q;
  p.app
      ->add_option("--batch", q.file,
                   "a CSV file (- for standard input) with the columns " +
                       batch_columns(c) +
                       " in any letter case; in place of an entry's column, "
                       "one in another unit: " +
                       other_unit_columns(c) +
                       "; other columns are carried through; one output row "
                       "per row")
      ->type_name("FILE");
  p.delimiter_given =
      p.app
          ->add_option("--delimiter", p.delimiter,
                       "with --batch: the file's delimiter and the output's; "
                       "with --lines: the output's. ';' writes decimal "
                       "commas. By default a file separated by semicolons is "
                       "known by its header (its numbers may then have "
                       "decimal commas), and commas are written")
          ->type_name("CHAR");
  p.app->add_flag("--lines", q.lines,
                  "cases one a line on standard input, the numbers in the "
                  "arguments' order separated by blanks or commas; each "
                  "answered at once by one line: a CSV row without header "
                  "(the default) or a JSON object; a bad line by its error");
  p.app
      ->add_option("--jobs", q.jobs,
                   "with --batch: the rows are computed by N threads, the "
                   "output the same for any N (default: one per core)")
      ->check(CLI::Range(1u, 1024u))
      ->type_name("N");
}

void add_command(CLI::App& app, const Command& c, Parsed& p) {
  Request& q = p.q;
  q.command = &c;
  p.app = app.add_subcommand(std::string(c.name), std::string(c.summary));
  add_entries(c, p);
  if (!c.model_column.empty()) {
    p.app->add_flag("--relative", q.relative,
                    "the sea raised by the wind relative to the water, in "
                    "deep water, instead of the deep-water sea carried into "
                    "the depth and current");
  }
  p.app
      ->add_option("--format", q.format,
                   "text (one case, the default), json (one case, a batch or "
                   "lines, as JSON Lines) or csv (a batch or lines, the "
                   "default)")
      ->check(CLI::IsMember({"text", "json", "csv"}))
      ->type_name("FORMAT");
  p.app->add_flag("--with-report", q.with_report,
                  "with --format json: the text report too, as the member "
                  "report");
  add_sources(c, p);
  if (fetch_entry(c)) add_position(p);
  if (c.name == "windsea") {
    p.grib_given =
        p.app
            ->add_option("--grib", p.grib.files,
                         "GRIB files: the wind speed, duration and direction "
                         "at --at and --time from their 10 m wind; the fetch "
                         "from --fetch, or else from the coastline upwind; "
                         "with --batch the columns lat, lon, "
                         "time, depth_m, [current_kt], [fetch_km]")
            ->type_name("FILE...");
    add_grib_options(p.app, p.grib);
  }
  p.app->footer(std::string(c.footer));
}

// The entries given: by name as options, and the arguments, in order, for
// the entries not given by name. Empty, or what is wrong.
//   --fetch=100 20 10 10 -> WIND 20, DURATION 10, --fetch 100, DEPTH 10
std::string take_entries(Parsed& p) {
  Request& q = p.q;
  const Command& c = *q.command;
  q.texts.model = q.model();
  std::size_t next = 0;  // the parser fills the arguments in order
  auto argument = [&]() -> std::optional<std::string_view> {
    if (next == c.entries.size() || p.argument_given[next]->count() == 0) {
      return std::nullopt;
    }
    return p.by_argument[next++];
  };
  std::string free;  // the entries not given by name
  const std::optional<std::size_t> fetch = fetch_entry(c);
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    if (fetch == i && !q.at.empty() && p.option_given[i]->count() == 0) {
      q.texts.name[i] = "--at";  // the coastline gives it
      continue;
    }
    if (p.option_given[i]->count() > 0) {
      q.texts.name[i] = p.option_names[i];
      q.texts.text[i] = p.by_option[i];
      continue;
    }
    q.texts.name[i] = c.entries[i].argument;
    q.texts.text[i] = argument();
    free += " " + std::string(c.entries[i].argument);
    // With the fetch from the coastline, a value meant as FETCH among the
    // numbers would be read as the next entry: an entry that may be left
    // out is then given by name.
    if (fetch && !q.at.empty() && q.texts.text[i] && c.entries[i].fallback) {
      return "with --at, give " + std::string(c.entries[i].argument) +
             " by name (--" + std::string(c.entries[i].option) +
             "): the numbers are read as" + free;
    }
  }
  if (argument()) {
    return "too many values: those not given by name are" + free;
  }
  return {};
}

// The units chosen by the unit options, for the entries given as arguments
// or options and for --lines; empty, or what is wrong. A batch file names
// its units in its columns, so the options do not go with --batch.
//   --wind-unit knots -> "--wind-unit: 'knots' is not a wind unit; use kt,
//   m/s, km/h, mph or bft"
std::string take_units(Parsed& p) {
  Request& q = p.q;
  const Command& c = *q.command;
  for (std::size_t i = 0; i < c.entries.size(); ++i) {
    if (!p.unit_given[i] || p.unit_given[i]->count() == 0) continue;
    const units::Quantity quantity = *c.entries[i].quantity;
    const units::Unit* u = units::find(quantity, fields::trim(p.unit_text[i]));
    if (!u) {
      return p.unit_names[i] + ": '" + p.unit_text[i] + "' is not a " +
             std::string(units::quantity_name(quantity)) + " unit; use " +
             units::allowed(quantity);
    }
    if (!q.file.empty()) {
      return p.unit_names[i] +
             " is for values given here or with --lines; a batch file names "
             "the unit in its column: " +
             units_columns(c.entries[i]);
    }
    q.texts.unit[i] = u;
  }
  return {};
}

// What is wrong with the position options, or empty.
std::string position_conflict(const Request& q) {
  const bool batched = !q.file.empty();
  if (!q.at.empty() || !q.from.empty()) {
    if (batched || q.lines) {
      return "--at and --from are for one case; a batch gives its "
             "positions in the columns lat, lon and wind_from_deg";
    }
    if (q.from.empty()) return "--at needs --from, the wind's direction";
    if (q.at.empty()) return "--from goes with --at, the position";
    const std::size_t f = *fetch_entry(*q.command);
    if (q.texts.text[f]) {
      return "the fetch is given twice: as " + std::string(q.texts.name[f]) +
             " and from the coastline at --at; give one of them";
    }
  } else if (q.coast_options && !batched) {
    return "--coast, --method, --max-fetch and --resolution go with --at "
           "and --from, or with a batch with the columns lat, lon and "
           "wind_from_deg";
  }
  return {};
}

// What is wrong with the options together, or empty.
std::string conflict(const Request& q) {
  bool values = false;
  for (const auto& text : q.texts.text) values = values || text.has_value();
  const bool batched = !q.file.empty();
  if (fetch_entry(*q.command)) {
    if (std::string p = position_conflict(q); !p.empty()) return p;
  }
  if (batched && q.lines) return "--batch and --lines: give one of them";
  if (batched && values) {
    return "--batch reads its cases from " + q.file +
           "; give no values besides";
  }
  if (q.lines && values) {
    return "--lines reads its cases from standard input; give no values "
           "besides";
  }
  if (batched && q.format == "text") {
    return "--format text is for one case; a batch is csv or json";
  }
  if (q.lines && q.format == "text") {
    return "--format text is for one case; --lines is csv or json";
  }
  if (!batched && !q.lines && q.format == "csv") {
    return "--format csv is for a batch; one case is text or json";
  }
  if (!batched && !q.lines && q.delimiter != 0) {
    return "--delimiter is for a batch or --lines";
  }
  if (q.with_report && q.format != "json") {
    return "--with-report goes with --format json";
  }
  if (!batched && q.jobs != 0) return "--jobs is for a batch";
  return {};
}

// The checks between the options, then one case or a batch.
int dispatch(Parsed& p, shell::ByteSource& in, shell::ByteSink& out,
             shell::ByteSink& err) {
  Request& q = p.q;
  const std::string command(q.name());
  const bool several = !q.file.empty() || q.lines;
  if (q.format.empty()) q.format = several ? "csv" : "text";
  if (p.delimiter == "," || p.delimiter == ";") q.delimiter = p.delimiter[0];
  for (const CLI::Option* o : p.coast_given) {
    q.coast_options = q.coast_options || o->count() > 0;
  }
  std::string problem = take_entries(p);
  if (problem.empty()) problem = take_units(p);
  if (problem.empty() && p.grib_given && p.grib_given->count() > 0) {
    p.grib.at = q.at;
    p.grib.coast = q.coast;
    if (q.texts.text[0] || q.texts.text[1]) {
      problem =
          "with --grib the wind and duration come from the files; give "
          "--fetch, --depth and --current by name";
    } else if (q.lines) {
      problem = "--grib and --lines: give --batch for many sites";
    } else if (!q.from.empty()) {
      problem =
          "--from goes with --at alone; with --grib the wind's "
          "direction comes from the files";
    } else if (q.file.empty() && !q.texts.text[3]) {
      problem = "--depth is missing; give --depth M";
    } else if (q.file.empty() && p.grib.at.empty()) {
      problem = "--at is missing; give --at LAT,LON";
    } else if (!q.file.empty() && (!p.grib.at.empty() || q.texts.text[2] ||
                                   q.texts.text[3] || q.texts.text[4])) {
      problem = "--batch reads the sites from " + q.file +
                "; give no --at, --fetch, --depth or --current besides";
    } else if (q.format == "csv" && q.file.empty()) {
      problem = "--format csv is for a batch; one case is text or json";
    } else if (!q.file.empty() && q.format == "text") {
      problem = "--format text is for one case; a batch is csv or json";
    } else if (q.with_report && q.format != "json") {
      problem = "--with-report goes with --format json";
    }
    if (!problem.empty()) return usage(err, command + ": " + problem, command);
    return windsea_grib(q, p.grib, in, out, err);
  }
  if (problem.empty() && p.delimiter_given->count() > 0 && q.delimiter == 0) {
    problem =
        "--delimiter: '" + p.delimiter + "' is not a delimiter; use ',' or ';'";
  }
  if (problem.empty()) problem = conflict(q);
  if (!problem.empty()) return usage(err, command + ": " + problem, command);
  if (q.jobs == 0) q.jobs = available_cores();
  if (q.lines) return lines(q, in, out, err);
  return q.file.empty() ? one_case(q, out, err) : batch(q, in, out, err);
}

// The fetch command's arguments as the parser keeps them.
struct FetchParsed {
  CLI::App* app = nullptr;
  FetchRequest r;
  std::vector<CLI::Option*> coast_given;
};

void add_fetch(CLI::App& app, FetchParsed& p) {
  p.app = app.add_subcommand(
      "fetch",
      "The fetch at a position for a wind direction: the open water upwind, "
      "over a coastline, by radials cast upwind from the position.");
  p.app
      ->add_option("LAT", p.r.lat,
                   "latitude: decimal degrees (-90 to 90, north positive) "
                   "or degrees and minutes with N or S (54d30.5N)")
      ->required()
      ->type_name("LAT");
  p.app
      ->add_option("LON", p.r.lon,
                   "longitude: decimal degrees (east positive) or degrees "
                   "and minutes with E or W (10d15W)")
      ->required()
      ->type_name("LON");
  p.app
      ->add_option("FROM", p.r.from,
                   "where the wind blows from: degrees true (0 to 360) or a "
                   "compass point (N, NNE, ..., NNW)")
      ->required()
      ->type_name("DIR");
  add_coast_choices(p.app, p.r.coast, p.coast_given);
  p.app
      ->add_option("--format", p.r.format,
                   "text (the default), json or geojson (a FeatureCollection "
                   "of the point and the radials)")
      ->check(CLI::IsMember({"text", "json", "geojson"}))
      ->type_name("FORMAT");
  p.app->footer(
      "The radials are geodesics cast upwind from the position; each ends "
      "at the first shore it meets, or at the cap as open water. A fetch "
      "whose radials are all open is at least the cap.\n"
      "\n"
      "Examples:\n"
      "  morvelstandrik fetch 54.5 10.25 W --coast land.geojson\n"
      "  morvelstandrik fetch 54d30N 10d15E 270 --method saville --format "
      "json\n");
}

// Whether NAME ("--wind") is an option of some command that takes a value.
bool takes_value(const std::vector<Parsed>& parsed, const std::string& name) {
  for (const Parsed& p : parsed) {
    const CLI::Option* o = p.app->get_option_no_throw(name);
    if (o && o->get_items_expected_max() > 0) return true;
  }
  return false;
}

// The arguments in the order the parser takes them (last first), with
// "--name=" for an option that takes a value split into "--name" and an
// empty value: the parser reads nothing after the '=' as no value at all
// and would take the next argument instead ("--wind= --duration=10" would
// make the wind "--duration=10"). Arguments after "--" are left as they are.
std::vector<std::string> parser_order(std::span<const std::string_view> args,
                                      const std::vector<Parsed>& parsed) {
  std::vector<std::string> list;
  bool options = true;
  for (const std::string_view a : args) {
    if (a == "--") options = false;
    const std::string_view name = a.substr(0, a.size() - 1);
    if (options && a.size() > 3 && a.substr(0, 2) == "--" && a.back() == '=' &&
        name.find('=') == name.npos && takes_value(parsed, std::string(name))) {
      list.emplace_back(name);
      list.emplace_back();
    } else {
      list.emplace_back(a);
    }
  }
  std::reverse(list.begin(), list.end());
  return list;
}

// A unit option given to a command that has no entry of its quantity
// ("swell --fetch-unit nmi"): said plainly, rather than as an argument the
// parser did not expect. Empty when there is none.
//   {"swell", "10", "3", "--fetch-unit=nmi"} -> "swell: --fetch-unit: swell
//   has no fetch; its unit option is --height-unit"
std::string foreign_unit(std::span<const std::string_view> words) {
  if (words.empty()) return {};
  const Command* command = nullptr;
  for (const Command& c : commands()) {
    if (c.name == words[0]) command = &c;
  }
  if (!command) return {};
  std::string own;  // the command's unit options
  for (const Entry& e : command->entries) {
    if (e.quantity) {
      own += (own.empty() ? "" : ", ") + ("--" + unit_option(*e.quantity));
    }
  }
  for (const std::string_view w : words.subspan(1)) {
    if (w == "--") break;
    for (const units::Unit& u : units::table()) {
      if (&u != &units::engine_unit(u.quantity)) continue;  // one a quantity
      const std::string option = "--" + unit_option(u.quantity);
      if (w != option && w.substr(0, option.size() + 1) != option + "=") {
        continue;
      }
      bool has = false;
      for (const Entry& e : command->entries)
        has = has || e.quantity == u.quantity;
      if (has) continue;
      std::string said = std::string(command->name) + ": " + option + ": " +
                         std::string(command->name) + " has no " +
                         std::string(units::quantity_name(u.quantity));
      if (own.empty()) return said + "; it takes no unit options";
      return said + "; its unit options: " + own;
    }
  }
  return {};
}

}  // namespace

int run(std::span<const std::string_view> args, shell::ByteSource& in,
        shell::ByteSink& out, shell::ByteSink& err) {
  CLI::App app{
      "Rough estimates of the wind sea and of the wind field behind a swell, "
      "for sailors. Estimates only, not safe for navigation.\n"
      "Without arguments the program is an interactive dialogue.",
      std::string(kProgram)};
  app.set_version_flag("-v,--version",
                       std::string(kProgram) + " " + MORVEL_VERSION);
  app.require_subcommand(1);
  app.footer(
      "'morvelstandrik help COMMAND' (or COMMAND --help) shows a command's "
      "entries, options and examples.\n\n"
      "Examples:\n"
      "  morvelstandrik windsea 20 10 100 10\n"
      "  morvelstandrik swell 10 3 --format json\n"
      "  morvelstandrik help windsea\n");
  app.failure_message([](const CLI::App* a, const CLI::Error& e) {
    std::string m = std::string(kProgram) + ": ";
    if (a->get_name() != kProgram) m += a->get_name() + ": ";
    m += e.what();
    m += "\nTry '" + std::string(kProgram) + " --help'.\n";
    return m;
  });
  std::vector<Parsed> parsed(commands().size());
  for (std::size_t i = 0; i < parsed.size(); ++i) {
    add_command(app, commands()[i], parsed[i]);
  }
  FetchParsed fetch;
  add_fetch(app, fetch);
  WindParsed wind_parsed;
  add_wind(app, wind_parsed);

  const std::vector<std::string_view> words = help_as_option(args);
  std::vector<std::string_view> names;
  for (const Command& c : commands()) names.push_back(c.name);
  // The list of commands in the message names the engines; a mistyped
  // fetch is still suggested, and the wind command is known too.
  const bool wind_command = !words.empty() && words[0] == "wind";
  if (!wind_command && (words.empty() || words[0] != "fetch")) {
    std::vector<std::string_view> all = names;
    all.emplace_back("fetch");
    const bool near_fetch = !words.empty() && closest(words[0], all) == "fetch";
    if (const std::string bad =
            unknown_command(words, near_fetch ? all : names);
        !bad.empty()) {
      return usage(err, bad, "");
    }
  }
  if (const std::string bad = foreign_unit(words); !bad.empty()) {
    return usage(err, bad, words[0]);
  }
  std::vector<std::string> reversed = parser_order(words, parsed);
  std::ostringstream help_out, help_err;
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, help_out, help_err);
    out.write(help_out.str());
    err.write(help_err.str());
    return code == 0 ? kOk : kUsage;
  }
  for (Parsed& p : parsed) {
    if (p.app->parsed()) return dispatch(p, in, out, err);
  }
  if (fetch.app->parsed()) return fetch_command(fetch.r, out, err);
  if (wind_parsed.app->parsed()) {
    if (wind_parsed.g.at.empty() && grib_supported()) {
      return usage(err, "wind: --at is missing; give --at LAT,LON", "wind");
    }
    return wind(wind_parsed.g, wind_parsed.format, out, err);
  }
  return kUsage;  // a subcommand is required: the parser has said so
}

}  // namespace cli

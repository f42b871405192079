// The row pipeline of the command line, in separate pieces: a header mapped
// to the command's entries, a row's texts read and checked into a case and
// computed (row -> result), and a result written as a CSV row, a JSON
// object or the text report (result -> written row). A case on the command
// line is a batch of one: the same pieces, without a header.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "morvelstandrik/cli/coastline.hpp"
#include "morvelstandrik/cli/commands.hpp"
#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// The texts of one case as given, with the names to use for them in
// messages (WIND, --wind or wind_kt).
struct CaseTexts {
  std::array<std::optional<std::string_view>, kMaxEntries>
      text;  // none: left out
  std::array<std::string_view, kMaxEntries> name;
  // The unit each text is in, for an entry with a quantity; none: the
  // entry's own unit. A value in another unit is read as a double and
  // converted by units::to_engine, rounded to float once.
  std::array<const units::Unit*, kMaxEntries> unit{};
  windsea::Model model = windsea::Model::kDeepWater;
  std::optional<std::string_view> model_text;  // a batch's model cell
  bool decimal_comma = false;  // "12,5" is 12.5 (a semicolon file)
};

// Why a case is refused: which entry, as named, what was given and what is
// wrong with it.
struct Refusal {
  static constexpr std::size_t kModel = kMaxEntries;  // the model's column
  std::size_t entry = 0;             // in the command's entries, or kModel
  std::string name;                  // as the user named it
  std::optional<std::string> given;  // none: the entry is missing
  std::string problem;               // "is not a number"
  // "WIND: 'abc' is not a number"; "DEPTH is missing; give ..."
  std::string message() const;
};

// Reads, checks and computes a case: the result, or the first refused
// entry in the table's order.
//   windsea {"20","10","100","10"} -> a report of 1.744 m
//   windsea {"0",...} -> WIND: '0' raises no sea; give a wind above 0.01 kt
std::variant<Result, Refusal> evaluate(const Command& c, const CaseTexts& t);

// Where a batch file's columns go: each entry's column (or none) with the
// unit it names, the model's, and the columns carried through unread.
struct Layout {
  std::array<std::ptrdiff_t, kMaxEntries> at{};
  std::array<const units::Unit*, kMaxEntries> unit{};  // none: the entry's
  std::array<std::string, kMaxEntries> column;         // as the table names it
  std::ptrdiff_t model_at = -1;
  std::vector<std::size_t> carried;
  std::vector<std::string> carried_names;
  std::size_t width = 0;       // fields in the header
  bool decimal_comma = false;  // the file's numbers may have decimal commas
  // A line of numbers (--lines): the entries in the arguments' order, each
  // named as an argument; a line may leave out the last entries.
  bool by_argument = false;
  // Positions in place of the fetch: the header has no fetch_km but the
  // columns lat, lon and wind_from_deg (carried through as well), at
  // these places.
  bool fetch_from_coast = false;
  std::array<std::ptrdiff_t, 3> place_at{-1, -1, -1};
};

// The columns that give a row's fetch from a coastline.
inline constexpr std::array<std::string_view, 3> kPlaceColumns = {
    "lat", "lon", "wind_from_deg"};

// Maps a header (names in any letter case, with blanks around them
// allowed) to the command's columns: each entry's own column, or for an
// entry with a quantity the column naming another unit (wind_ms, depth_ft;
// see unit_column). Empty, or why the header cannot be used: a column
// named twice, an entry given by two columns, or a required column
// missing, with the columns found and expected. A header without the fetch
// but with lat, lon and wind_from_deg takes its fetch from a coastline:
//   {"period_s", "depth"} -> "the header has no column height_m (found:
//   period_s, depth; expected: period_s, height_m)"
//   {"wind_kt", "wind_ms", ...} -> "the header gives the wind twice:
//   wind_kt and wind_ms; keep one of them"
std::string map_header(const Command& c, std::span<const std::string> header,
                       Layout& layout);

// The texts of a batch row; an empty cell of an entry that has a fallback,
// or a cell past the row's end, counts as left out.
CaseTexts row_texts(const Command& c, const Layout& layout, const Record& row,
                    windsea::Model model);

// The written rows of one output format. A writer keeps scratch space of
// its own: each thread of a batch has its own writer.
class RowWriter {
 public:
  virtual ~RowWriter() = default;
  // Before the first row of a batch.
  virtual void header(std::string& out) = 0;
  // One row: the record it was read from (its line and carried cells;
  // none for a case on the command line), and its result or why there is
  // none.
  virtual void row(std::string& out, const Record* row, const Result* result,
                   std::string_view error) = 0;
  // Where the next rows' fetch came from (none: as given); the writer
  // adds it to each row.
  void origin(const FetchOrigin* o) { origin_ = o; }

 protected:
  const FetchOrigin* origin_ = nullptr;
};

// A batch's CSV rows: carried columns, the result's columns, error. With
// the delimiter ';' the numbers have decimal commas, and a cell holding a
// semicolon is quoted.
class CsvWriter final : public RowWriter {
 public:
  CsvWriter(const Command& c, const Layout& layout, char delimiter = ',')
      : command_(c), layout_(layout), delimiter_(delimiter) {}
  void header(std::string& out) override;
  void row(std::string& out, const Record* row, const Result* result,
           std::string_view error) override;

 private:
  const Command& command_;
  const Layout& layout_;
  char delimiter_;
};

// JSON objects, one a line: in a batch (with a layout) with the members
// line, input (carried columns) and error; with_report adds the text report
// as the member report.
class JsonWriter final : public RowWriter {
 public:
  JsonWriter(const Layout* layout, bool with_report)
      : layout_(layout), with_report_(with_report) {}
  void header(std::string& out) override;
  void row(std::string& out, const Record* row, const Result* result,
           std::string_view error) override;
  // A refused case on the command line: {"error": {entry, name, given,
  // problem, message, range}}.
  void refusal(std::string& out, const Command& c, const Refusal& r);

 private:
  const Layout* layout_;
  bool with_report_;
  std::string report_;
};

}  // namespace cli

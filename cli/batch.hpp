// The row loop of a batch: a reader that hands out blocks of records in
// file order, workers that turn each block into its written rows and error
// lines, and a writer that hands the blocks on in file order. With one job
// the loop runs in the calling thread; with more, each job is a thread.
// The output is the same bytes for any number of jobs, and the memory held
// is a few blocks per job, whatever the length of the file.
#pragma once

#include <cstddef>
#include <string>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/cli/pipeline.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace cli {

// The records a job takes at a time: at most so many (kBlockRows unless the
// setup says fewer), or the first that reach so many bytes (a record holds
// at most 64 KiB).
inline constexpr std::size_t kBlockRows = 128;
inline constexpr std::size_t kBlockBytes = 1 << 20;
// A record that held more gives its memory back before the next read.
inline constexpr std::size_t kLargeRecord = 4096;

// What every row of a batch shares.
struct BatchSetup {
  const Command* command = nullptr;
  Layout layout;                                      // the header's columns
  windsea::Model model = windsea::Model::kDeepWater;  // for an empty model
  bool json = false;                                  // JSON Lines, else CSV
  bool with_report = false;  // JSON: the text report as a member
  std::string said;          // "morvelstandrik: windsea: FILE:" before a line
  unsigned jobs = 1;
  char delimiter = ',';  // CSV: between the cells written
  // The records a job takes at a time; 1 answers each as soon as it is
  // read, for a script that waits for each answer.
  std::size_t block_rows = kBlockRows;
  bool with_header = true;  // CSV: the header line before the rows
  // The coastline that gives each row's fetch (layout.fetch_from_coast),
  // read by every job at once.
  const FetchFinder* finder = nullptr;
};

// Writes the header (if asked), then reads the records after it to the end and
// writes one row for each, in order; each bad row also gets a line on err.
// Returns whether any row was bad.
//   windsea, CSV, 2 jobs: "wind_kt,duration_h,...\n20,10,100,10\n" ->
//   the header and one row on out, false
bool run_rows(const BatchSetup& setup, RecordSource& reader,
              shell::ByteSink& out, shell::ByteSink& err);

// The cores this process may run on (at least 1).
unsigned available_cores();

}  // namespace cli

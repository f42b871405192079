#include "morvelstandrik/cli/batch.hpp"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

#include "morvelstandrik/cli/shortest.hpp"

#ifdef __linux__
#include <sched.h>
#endif

namespace cli {
namespace {

// A block of records and the bytes it became.
struct Block {
  std::vector<Record> records;  // reused from block to block
  std::size_t count = 0;        // records of this block
  std::size_t index = 0;        // its place in the file
  std::string out, err;
  bool bad = false;
};

std::size_t bytes_of(const Record& r) {
  std::size_t n = 0;
  for (const std::string& f : r.fields) n += f.capacity();
  return n;
}

// Reads the next block of records, of at most rows records and not
// many more than kBlockBytes bytes; false when none was left. A record
// that grew large gives its memory back before it is read into again.
bool read_block(RecordSource& reader, std::size_t rows, Block& b) {
  if (b.records.size() < rows) b.records.resize(rows);
  b.count = 0;
  std::size_t bytes = 0;
  while (b.count < rows && bytes < kBlockBytes) {
    Record& r = b.records[b.count];
    if (bytes_of(r) > kLargeRecord) r = Record{};
    if (!reader.next(r)) break;
    bytes += bytes_of(r);
    ++b.count;
  }
  return b.count > 0;
}

std::unique_ptr<RowWriter> make_writer(const BatchSetup& s) {
  if (s.json) return std::make_unique<JsonWriter>(&s.layout, s.with_report);
  return std::make_unique<CsvWriter>(*s.command, s.layout, s.delimiter);
}

// A row's fetch from the coastline at its lat, lon and wind_from_deg: empty
// with the fetch's text in place of the fetch entry, or what is wrong.
std::string fetch_of_row(const BatchSetup& s, const Record& rec, CaseTexts& t,
                         std::string& fetch_text, FetchOrigin& origin) {
  std::string cells[3];
  for (std::size_t k = 0; k < 3; ++k) {
    cells[k] = rec.fields[static_cast<std::size_t>(s.layout.place_at[k])];
    // A semicolon file's decimal commas.
    if (s.layout.decimal_comma) {
      for (char& c : cells[k]) c = c == ',' ? '.' : c;
    }
  }
  std::string problem = s.finder->find(cells[0], cells[1], cells[2], origin);
  if (!problem.empty()) return problem;
  fetch_text = shortest(origin.engine_km);
  t.text[*fetch_entry(*s.command)] = fetch_text;
  return {};
}

// One record: its written row, and a line on the errors when it is bad.
void one_row(const BatchSetup& s, const Record& rec, RowWriter& w, Block& b) {
  std::string problem = rec.problem;
  if (problem.empty() && s.layout.by_argument) {
    if (rec.fields.size() > s.layout.width) {
      problem = std::to_string(rec.fields.size()) + " values; give " +
                arguments_usage(*s.command);
    }
  } else if (problem.empty() && rec.fields.size() != s.layout.width) {
    problem = std::to_string(rec.fields.size()) +
              " fields where the header has " + std::to_string(s.layout.width);
  }
  std::optional<std::variant<Result, Refusal>> got;
  std::string fetch_text;
  FetchOrigin origin;
  bool from_coast = false;
  if (problem.empty()) {
    CaseTexts t = row_texts(*s.command, s.layout, rec, s.model);
    if (s.layout.fetch_from_coast) {
      problem = fetch_of_row(s, rec, t, fetch_text, origin);
      from_coast = problem.empty();
    }
    if (problem.empty()) {
      got = evaluate(*s.command, t);
      if (const Refusal* r = std::get_if<Refusal>(&*got)) {
        problem = r->message();
      }
    }
  }
  if (!problem.empty()) {
    b.bad = true;
    b.err.append(s.said).append(std::to_string(rec.line)).append(": ");
    b.err.append(problem).append("\n");
  }
  const Result* result = got ? std::get_if<Result>(&*got) : nullptr;
  w.origin(from_coast ? &origin : nullptr);
  w.row(b.out, &rec, result, problem);
  w.origin(nullptr);
}

void compute(const BatchSetup& s, RowWriter& w, Block& b) {
  b.out.clear();
  b.err.clear();
  b.bad = false;
  for (std::size_t i = 0; i < b.count; ++i) one_row(s, b.records[i], w, b);
}

void hand_on(const Block& b, shell::ByteSink& out, shell::ByteSink& err) {
  if (!b.err.empty()) err.write(b.err);
  out.write(b.out);
}

// The jobs share the reader and hand their blocks on in block order. A
// job whose block is done before its turn parks it and goes on with a new
// one, so that rows of uneven cost keep every job busy; the blocks in use
// are at most two per job and one more. A job waits only when all of them
// are taken: then the lowest block not yet handed on is still being
// computed by a job that does not wait, and handing it on frees blocks.
class Jobs {
 public:
  Jobs(const BatchSetup& s, RecordSource& reader, shell::ByteSink& out,
       shell::ByteSink& err)
      : s_(s),
        reader_(reader),
        out_(out),
        err_(err),
        most_blocks_(2 * s.jobs + 1) {}

  bool run() {
    std::vector<std::thread> others;
    for (unsigned i = 1; i < s_.jobs; ++i) {
      others.emplace_back([this] { job(); });
    }
    job();
    for (std::thread& t : others) t.join();
    return bad_;
  }

 private:
  void job() {
    const std::unique_ptr<RowWriter> w = make_writer(s_);
    std::unique_ptr<Block> b = spare();
    while (take(*b)) {
      compute(s_, *w, *b);
      b = finish(std::move(b));
    }
    const std::lock_guard<std::mutex> lock(write_mutex_);
    free_.push_back(std::move(b));
  }

  bool take(Block& b) {
    const std::lock_guard<std::mutex> lock(read_mutex_);
    if (ended_ || !read_block(reader_, s_.block_rows, b)) {
      ended_ = true;
      return false;
    }
    b.index = next_read_++;
    return true;
  }

  // A block to read into: a free one, a new one while there are fewer
  // than most_blocks_, or the first that is handed on.
  std::unique_ptr<Block> spare() {
    std::unique_lock<std::mutex> lock(write_mutex_);
    freed_.wait(lock, [&] { return !free_.empty() || blocks_ < most_blocks_; });
    if (free_.empty()) {
      ++blocks_;
      return std::make_unique<Block>();
    }
    std::unique_ptr<Block> b = std::move(free_.back());
    free_.pop_back();
    return b;
  }

  // Hands the block on, with every parked block whose turn follows, when
  // its turn has come, or parks it; returns a block to go on with.
  std::unique_ptr<Block> finish(std::unique_ptr<Block> b) {
    {
      const std::lock_guard<std::mutex> lock(write_mutex_);
      if (b->index != next_write_) {
        parked_.emplace(b->index, std::move(b));
      } else {
        hand_on(*b);
        for (auto next = parked_.find(next_write_); next != parked_.end();
             next = parked_.find(next_write_)) {
          hand_on(*next->second);
          free_.push_back(std::move(next->second));
          parked_.erase(next);
        }
      }
    }
    freed_.notify_all();
    return b ? std::move(b) : spare();
  }

  void hand_on(const Block& b) {  // with the write lock held
    cli::hand_on(b, out_, err_);
    bad_ = bad_ || b.bad;
    ++next_write_;
  }

  const BatchSetup& s_;
  RecordSource& reader_;
  shell::ByteSink &out_, &err_;
  const std::size_t most_blocks_;
  std::mutex read_mutex_;
  std::size_t next_read_ = 0;
  bool ended_ = false;
  std::mutex write_mutex_;  // guards all below
  std::condition_variable freed_;
  std::size_t next_write_ = 0, blocks_ = 0;
  std::map<std::size_t, std::unique_ptr<Block>> parked_;
  std::vector<std::unique_ptr<Block>> free_;
  bool bad_ = false;
};
}  // namespace

bool run_rows(const BatchSetup& s, RecordSource& reader, shell::ByteSink& out,
              shell::ByteSink& err) {
  if (s.with_header) {
    std::string header;
    make_writer(s)->header(header);
    out.write(header);
  }
#ifndef __EMSCRIPTEN__
  if (s.jobs > 1) return Jobs(s, reader, out, err).run();
#endif
  Block b;
  const std::unique_ptr<RowWriter> w = make_writer(s);
  bool bad = false;
  while (read_block(reader, s.block_rows, b)) {
    compute(s, *w, b);
    hand_on(b, out, err);
    bad = bad || b.bad;
  }
  return bad;
}

unsigned available_cores() {
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof set, &set) == 0) {
    const int n = CPU_COUNT(&set);
    if (n > 0) return static_cast<unsigned>(n);
  }
#endif
#ifndef __EMSCRIPTEN__
  const unsigned n = std::thread::hardware_concurrency();
  if (n > 0) return n;
#endif
  return 1;
}

}  // namespace cli

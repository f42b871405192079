#include "morvelstandrik/cli/batch.hpp"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

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
  if (problem.empty()) {
    got = evaluate(*s.command, row_texts(*s.command, s.layout, rec, s.model));
    if (const Refusal* r = std::get_if<Refusal>(&*got)) problem = r->message();
  }
  if (!problem.empty()) {
    b.bad = true;
    b.err.append(s.said).append(std::to_string(rec.line)).append(": ");
    b.err.append(problem).append("\n");
  }
  const Result* result = got ? std::get_if<Result>(&*got) : nullptr;
  w.row(b.out, &rec, result, problem);
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

// The jobs share the reader and take turns at the output, in block order:
// the job with the lowest block outstanding never waits, so every job gets
// its turn.
class Jobs {
 public:
  Jobs(const BatchSetup& s, RecordSource& reader, shell::ByteSink& out,
       shell::ByteSink& err)
      : s_(s), reader_(reader), out_(out), err_(err) {}

  bool run() {
    std::vector<std::thread> others;
    for (unsigned i = 1; i < s_.jobs; ++i)
      others.emplace_back([this] { job(); });
    job();
    for (std::thread& t : others) t.join();
    return bad_;
  }

 private:
  void job() {
    Block b;
    const std::unique_ptr<RowWriter> w = make_writer(s_);
    while (take(b)) {
      compute(s_, *w, b);
      std::unique_lock<std::mutex> lock(write_mutex_);
      turn_.wait(lock, [&] { return next_write_ == b.index; });
      hand_on(b, out_, err_);
      bad_ = bad_ || b.bad;
      ++next_write_;
      lock.unlock();
      turn_.notify_all();
    }
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

  const BatchSetup& s_;
  RecordSource& reader_;
  shell::ByteSink &out_, &err_;
  std::mutex read_mutex_, write_mutex_;
  std::condition_variable turn_;
  std::size_t next_read_ = 0, next_write_ = 0;
  bool ended_ = false;
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

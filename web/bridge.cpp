// The page's way into the program: runs the command line on an argument
// list and a standard input held in memory, and keeps what it wrote to
// standard output and standard error until the next run, for the page's
// script to read. The report the page shows is therefore the very text of
// the one-shot command, and its numbers come from the command's JSON.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string_view>
#include <vector>

#include "morvelstandrik/cli/cli.hpp"
#include "morvelstandrik/shell/streams.hpp"

namespace {

shell::StringSink last_out;
shell::StringSink last_err;

}  // namespace

extern "C" {

// Runs `morvelstandrik ARGS...` with INPUT as standard input. ARGS holds one
// argument per line (the page's arguments never hold a newline); an empty
// text is no argument. Returns the exit status.
EMSCRIPTEN_KEEPALIVE int morvel_run(const char* args, const char* input) {
  std::vector<std::string_view> list;
  std::string_view rest(args);
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    list.push_back(rest.substr(0, end));
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  shell::MemorySource in(input);
  last_out.text.clear();
  last_err.text.clear();
  return cli::run(list, in, last_out, last_err);
}

EMSCRIPTEN_KEEPALIVE const char* morvel_out() {
  return last_out.text.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t morvel_out_size() {
  return last_out.text.size();
}
EMSCRIPTEN_KEEPALIVE const char* morvel_err() {
  return last_err.text.data();
}
EMSCRIPTEN_KEEPALIVE std::size_t morvel_err_size() {
  return last_err.text.size();
}

}  // extern "C"

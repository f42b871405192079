#include "morvelstandrik/python/schema.hpp"

#include <pybind11/pybind11.h>

namespace py = pybind11;

namespace morvel_python {

// The engines' texts are single bytes (the grounding warning holds 0xF5);
// Python's strings take them as the characters U+0000 to U+00FF, as the
// JSON writer does.
std::string latin1_to_utf8(std::string_view latin1) {
  std::string utf8;
  for (const char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      utf8 += ch;
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

const cli::Command& command_named(std::string_view name) {
  for (const cli::Command& c : cli::commands()) {
    if (c.name == name) return c;
  }
  throw py::value_error("command: no engine is named '" + std::string(name) +
                        "'");
}

namespace {

// Names the fields of one walk, and marks those it leaves without a value.
class SchemaVisitor final : public fields::FieldVisitor {
 public:
  void number(std::string_view name, std::string_view unit,
              std::optional<float> v) override {
    add(name, Kind::kNumber, unit, {}, !v || absent_ > 0);
  }
  void integer(std::string_view name, std::string_view unit,
               std::optional<std::int32_t> v) override {
    add(name, Kind::kInteger, unit, {}, !v || absent_ > 0);
  }
  void choice(std::string_view name, std::span<const fields::Coded> codes,
              std::size_t) override {
    add(name, Kind::kChoice, "", codes, false);
  }
  void flags(std::string_view name, std::span<const fields::Coded> codes,
             std::uint32_t) override {
    add(name, Kind::kFlags, "", codes, false);
  }
  void begin(std::string_view name) override { path_.emplace_back(name); }
  void end() override { path_.pop_back(); }
  void begin_list(std::string_view name, bool present) override {
    path_.emplace_back(name);
    present_.push_back(present);
    if (!present) ++absent_;
  }
  void end_list() override {
    path_.pop_back();
    if (!present_.back()) --absent_;
    present_.pop_back();
  }
  // Starts the next walk over the same fields.
  void rewind() { at_ = 0; }
  std::vector<Column> columns;

 private:
  void add(std::string_view name, Kind kind, std::string_view unit,
           std::span<const fields::Coded> codes, bool empty) {
    if (at_ == columns.size()) {
      Column c;
      for (const std::string& p : path_) c.name.append(p).append(".");
      c.name.append(name);
      c.kind = kind;
      c.unit = unit;
      for (const fields::Coded& code : codes) {
        c.codes.emplace_back(code.code, latin1_to_utf8(code.text));
      }
      columns.push_back(std::move(c));
    }
    columns[at_++].nullable |= empty;
  }
  std::vector<std::string> path_;
  std::vector<bool> present_;
  int absent_ = 0;
  std::size_t at_ = 0;
};

}  // namespace

// The fields of a command, found by walking results that between them
// leave every field that can go without a value without one: both models,
// the ends of every range, calm to storm, with and against the current
// (a blocked sea has no height, a sea without development no table).
const std::vector<Column>& schema(const cli::Command& c) {
  static std::vector<std::vector<Column>> all = [] {
    std::vector<std::vector<Column>> found;
    for (const cli::Command& command : cli::commands()) {
      SchemaVisitor s;
      const std::size_t n = command.entries.size();
      std::vector<std::vector<float>> choices(n);
      for (std::size_t i = 0; i < n; ++i) {
        const cli::Entry& e = command.entries[i];
        const float low = e.low.value_or(0.1f), high = e.high.value_or(100.0f);
        choices[i] = {low, high, 0.5f * (low + high)};
        if (e.refuse(0.0f).empty()) choices[i].push_back(0.0f);
      }
      std::vector<std::size_t> at(n, 0);
      for (bool more = true; more;) {
        float values[cli::kMaxEntries] = {};
        for (std::size_t i = 0; i < n; ++i) values[i] = choices[i][at[i]];
        for (int m = 0; m < 2; ++m) {
          s.rewind();
          cli::walk(
              s, command.compute({values, n}, static_cast<windsea::Model>(m)));
        }
        more = false;
        for (std::size_t i = 0; i < n && !more; ++i) {
          if (++at[i] < choices[i].size()) {
            more = true;
          } else {
            at[i] = 0;
          }
        }
      }
      found.push_back(std::move(s.columns));
    }
    return found;
  }();
  return all[static_cast<std::size_t>(&c - cli::commands().data())];
}

}  // namespace morvel_python

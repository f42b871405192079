#include "morvelstandrik/cli/results.hpp"

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "morvelstandrik/cli/csv.hpp"
#include "morvelstandrik/cli/shortest.hpp"

namespace cli {
namespace {

// Members of an open JSON object; null for a value the model cannot give.
class JsonFields final : public fields::FieldVisitor {
 public:
  explicit JsonFields(Json& j) : j_(j) {}
  void number(std::string_view name, std::string_view,
              std::optional<float> v) override {
    if (!muted_) member(name).number(v);
  }
  void integer(std::string_view name, std::string_view,
               std::optional<std::int32_t> v) override {
    if (!muted_) member(name).integer(v);
  }
  void choice(std::string_view name, std::span<const fields::Coded> codes,
              std::size_t index) override {
    if (!muted_) member(name).text(codes[index].code);
  }
  void flags(std::string_view name, std::span<const fields::Coded> codes,
             std::uint32_t present) override {
    if (muted_) return;
    member(name).begin_array();
    for (std::size_t i = 0; i < codes.size(); ++i) {
      if (((present >> i) & 1u) == 0) continue;
      j_.begin_object();
      j_.key("code").text(codes[i].code);
      j_.key("text").text(codes[i].text);
      j_.end_object();
    }
    j_.end_array();
  }
  void begin(std::string_view name) override {
    if (muted_) return;
    (in_list_.back() ? j_ : member(name)).begin_object();
    in_list_.push_back(false);
  }
  void end() override {
    if (muted_) return;
    j_.end_object();
    in_list_.pop_back();
  }
  void begin_list(std::string_view name, bool present) override {
    if (!present) {
      member(name).null();
      muted_ = true;
      return;
    }
    member(name).begin_array();
    in_list_.push_back(true);
  }
  void end_list() override {
    if (muted_) {
      muted_ = false;
      return;
    }
    j_.end_array();
    in_list_.pop_back();
  }

 private:
  Json& member(std::string_view name) { return j_.key(name); }
  Json& j_;
  std::vector<bool> in_list_{false};  // per open record or list
  bool muted_ = false;                // inside a list that is not present
};

// Cells of a CSV row, each followed by the delimiter: empty where there is
// no value (or none that is finite); codes joined with ';'.
class CsvCells final : public fields::FieldVisitor {
 public:
  CsvCells(std::string& out, char delimiter)
      : out_(out), delimiter_(delimiter) {}
  void number(std::string_view, std::string_view,
              std::optional<float> v) override {
    if (!blank_ && v && std::isfinite(*v)) {
      const std::size_t from = out_.size();
      append_shortest(out_, *v);
      // The decimal mark of the spreadsheets that separate by ';'.
      if (delimiter_ == ';') {
        const std::size_t point = out_.find('.', from);
        if (point != std::string::npos) out_[point] = ',';
      }
    }
    out_.push_back(delimiter_);
  }
  void integer(std::string_view, std::string_view,
               std::optional<std::int32_t> v) override {
    if (!blank_ && v) append_integer(out_, *v);
    out_.push_back(delimiter_);
  }
  void choice(std::string_view, std::span<const fields::Coded> codes,
              std::size_t index) override {
    if (!blank_) out_.append(codes[index].code);
    out_.push_back(delimiter_);
  }
  void flags(std::string_view, std::span<const fields::Coded> codes,
             std::uint32_t present) override {
    joined_.clear();
    for (std::size_t i = 0; i < codes.size() && !blank_; ++i) {
      if (((present >> i) & 1u) == 0) continue;
      if (!joined_.empty()) joined_.push_back(';');
      joined_.append(codes[i].code);
    }
    csv_cell(out_, joined_, delimiter_);
    out_.push_back(delimiter_);
  }
  void begin(std::string_view) override {}
  void end() override {}
  void begin_list(std::string_view, bool present) override {
    blank_ = !present;
  }
  void end_list() override { blank_ = false; }

 private:
  std::string& out_;
  char delimiter_;
  std::string joined_;  // the codes of a list of flags
  bool blank_ = false;  // inside a list that is not present
};

}  // namespace

void json_members(Json& j, const Result& r) {
  JsonFields f(j);
  walk(f, r);
}

void csv_cells(std::string& out, const Result& r, char delimiter) {
  CsvCells f(out, delimiter);
  walk(f, r);
}

}  // namespace cli

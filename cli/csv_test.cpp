#include "morvelstandrik/cli/csv.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace cli {
namespace {

struct Read {
  std::vector<std::vector<std::string>> fields;
  std::vector<std::int64_t> lines;
  std::vector<std::string> problems;
};

Read read_all(const std::string& text, std::size_t piece = 0,
              char delimiter = ',') {
  shell::MemorySource source(text, piece);
  CsvReader reader(source, delimiter);
  Read out;
  Record r;
  while (reader.next(r)) {
    out.fields.push_back(r.fields);
    out.lines.push_back(r.line);
    out.problems.push_back(r.problem);
  }
  return out;
}

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvReader, RecordsAsSpreadsheetsWriteThem) {
  const struct {
    const char* name;
    std::string text;
    Rows rows;
    std::vector<std::int64_t> lines;
  } cases[] = {
      {"plain", "a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"no final line end", "a,b\n1,2", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"CR LF", "a,b\r\n1,2\r\n", {{"a", "b"}, {"1", "2"}}, {1, 2}},
      {"byte-order mark", "\xEF\xBB\xBFid,x\n", {{"id", "x"}}, {1}},
      {"not a whole byte-order mark", "\xEF\xBBid\n", {{"\xEF\xBBid"}}, {1}},
      {"quotes",
       "a,\"b,c\",\"say \"\"hi\"\"\"\r\n",
       {{"a", "b,c", "say \"hi\""}},
       {1}},
      {"line end inside quotes",
       "\"two\nlines\",x\ny,z\n",
       {{"two\nlines", "x"}, {"y", "z"}},
       {1, 3}},
      {"empty fields", ",,\n", {{"", "", ""}}, {1}},
      {"empty lines skipped", "a\n\n\nb\n", {{"a"}, {"b"}}, {1, 4}},
      {"blank kept", " a , b \n", {{" a ", " b "}}, {1}},
      {"carriage return inside a field", "a\rb\n", {{"a\rb"}}, {1}},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
      const Read r = read_all(c.text, piece);
      EXPECT_EQ(c.rows, r.fields) << c.name;
      EXPECT_EQ(c.lines, r.lines) << c.name;
      for (const std::string& p : r.problems) EXPECT_EQ("", p) << c.name;
    }
  }
}

TEST(CsvReader, RecordsThatCannotBeReadWhole) {
  Read r = read_all("a,\"open\nb,c\n");
  ASSERT_EQ(1u, r.fields.size());
  EXPECT_EQ("quote never closed", r.problems[0]);

  // A line of 1 MB: kept only in part, the next record is read whole.
  std::string text = "x," + std::string(1 << 20, 'y') + "\nnext,1\n";
  r = read_all(text);
  ASSERT_EQ(2u, r.fields.size());
  EXPECT_NE("", r.problems[0]);
  std::size_t kept = 0;
  for (const std::string& f : r.fields[0]) kept += f.size();
  EXPECT_LE(kept, CsvReader::kMaxRecord);
  EXPECT_EQ((std::vector<std::string>{"next", "1"}), r.fields[1]);
  EXPECT_EQ("", r.problems[1]);
  EXPECT_EQ(2, r.lines[1]);

  text = std::string(1000, ',') + "\nok\n";
  r = read_all(text);
  ASSERT_EQ(2u, r.fields.size());
  EXPECT_EQ(CsvReader::kMaxFields, r.fields[0].size());
  EXPECT_NE("", r.problems[0]);
  EXPECT_EQ((std::vector<std::string>{"ok"}), r.fields[1]);
}

// The header chooses the delimiter: semicolons outside quotes and no
// comma make a semicolon file; the rows after it are read with it.
TEST(CsvReader, TheHeaderChoosesTheDelimiter) {
  const struct {
    const char* name;
    std::string text;
    Rows rows;
  } cases[] = {
      {"semicolons", "a;b\n1,5;2\n", {{"a", "b"}, {"1,5", "2"}}},
      {"commas", "a,b\n1;5,2\n", {{"a", "b"}, {"1;5", "2"}}},
      {"a comma wins, semicolons joined back",
       "a;b,c;d;e\n1,2\n",
       {{"a;b", "c;d;e"}, {"1", "2"}}},
      {"a quoted comma does not count",
       "\"a,b\";c\n1;2\n",
       {{"a,b", "c"}, {"1", "2"}}},
      {"quoted semicolons do not count",
       "\"a;b\",c\n1;2,3\n",
       {{"a;b", "c"}, {"1;2", "3"}}},
      {"one column", "a\n1;2\n", {{"a"}, {"1;2"}}},
      {"byte-order mark and CR LF",
       "\xEF\xBB\xBF"
       "a;b\r\n1;2\r\n",
       {{"a", "b"}, {"1", "2"}}},
      // Found by the fuzz corpus: a NUL byte is no delimiter.
      {"NUL byte", std::string("a\0b,c\n", 6), {{std::string("a\0b", 3), "c"}}},
  };
  for (const auto& c : cases) {
    for (std::size_t piece : {std::size_t{0}, std::size_t{1}}) {
      const Read r = read_all(c.text, piece, kDetectDelimiter);
      EXPECT_EQ(c.rows, r.fields) << c.name;
      for (const std::string& p : r.problems) EXPECT_EQ("", p) << c.name;
    }
  }
  // Given, the delimiter is not chosen by the header.
  EXPECT_EQ((Rows{{"a,b"}, {"1", "2"}}), read_all("a,b\n1;2\n", 0, ';').fields);
}

TEST(CsvCell, QuotedWhereTheDelimiterStands) {
  const struct {
    const char* cell;
    char delimiter;
    const char* written;
  } cases[] = {
      {"a;b", ',', "a;b"},
      {"a;b", ';', "\"a;b\""},
      {"a,b", ';', "a,b"},
      {"a,b", ',', "\"a,b\""},
      {"say \"x\"", ';', "\"say \"\"x\"\"\""},
      {" a", ';', "\" a\""},
      {"", ';', ""},
  };
  for (const auto& c : cases) {
    std::string out;
    csv_cell(out, c.cell, c.delimiter);
    EXPECT_EQ(c.written, out) << c.cell << " " << c.delimiter;
  }
}

}  // namespace
}  // namespace cli

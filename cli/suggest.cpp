#include "morvelstandrik/cli/suggest.hpp"

#include <algorithm>
#include <cctype>

namespace cli {

std::size_t edits(std::string_view a, std::string_view b) {
  auto same = [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  };
  // d[i][j]: edits from a's first i letters to b's first j, three rows kept.
  const std::size_t w = b.size() + 1;
  std::vector<std::size_t> d(3 * w);
  auto at = [&](std::size_t i, std::size_t j) -> std::size_t& {
    return d[(i % 3) * w + j];
  };
  for (std::size_t i = 0; i <= a.size(); ++i) {
    for (std::size_t j = 0; j <= b.size(); ++j) {
      if (i == 0 || j == 0) {
        at(i, j) = i + j;
        continue;
      }
      const std::size_t change = same(a[i - 1], b[j - 1]) ? 0 : 1;
      std::size_t best = std::min(
          {at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + change});
      if (i > 1 && j > 1 && same(a[i - 1], b[j - 2]) &&
          same(a[i - 2], b[j - 1])) {
        best = std::min(best, at(i - 2, j - 2) + 1);
      }
      at(i, j) = best;
    }
  }
  return at(a.size(), b.size());
}

std::optional<std::string_view> closest(
    std::string_view typed, std::span<const std::string_view> names) {
  std::optional<std::string_view> best;
  std::size_t fewest = 3;  // more edits than this is another word
  for (const std::string_view name : names) {
    const std::size_t n = edits(typed, name);
    if (n < fewest) {
      fewest = n;
      best = name;
    }
  }
  if (best || typed.size() < 2) return best;
  for (const std::string_view name : names) {
    if (edits(typed, name.substr(0, typed.size())) == 0) return name;
  }
  return std::nullopt;
}

std::vector<std::string_view> help_as_option(
    std::span<const std::string_view> args) {
  std::vector<std::string_view> words(args.begin(), args.end());
  if (words.empty() || words[0] != "help") return words;
  if (words.size() == 1) return {"--help"};
  words.erase(words.begin());
  words.insert(words.begin() + 1, "--help");
  return words;
}

std::string unknown_command(std::span<const std::string_view> args,
                            std::span<const std::string_view> names) {
  if (args.empty() || args[0].starts_with("-")) return {};
  const std::string_view typed = args[0];
  if (std::find(names.begin(), names.end(), typed) != names.end()) return {};
  std::string said = "unknown command '" + std::string(typed) + "'; ";
  if (const auto name = closest(typed, names)) {
    return said + "did you mean '" + std::string(*name) + "'?";
  }
  said += "the commands are";
  for (std::size_t i = 0; i < names.size(); ++i) {
    said.append(i == 0 ? " " : ", ").append(names[i]);
  }
  return said;
}

}  // namespace cli

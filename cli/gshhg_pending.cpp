// Until the GSHHG reader is part of the program: the resolutions it will
// find and their names, and a load that says the data cannot be read yet.
// Replaced, at the merge, by linking the reader.
#include <filesystem>

#include "morvelstandrik/cli/gshhg_link.hpp"

namespace gshhg {

coast::Shoreline load(char resolution, const std::string&) {
  throw coast::BadData("GSHHG " + resolution_name(resolution) +
                       ": this build does not read GSHHG coastlines yet; "
                       "give --coast FILE");
}

std::optional<char> finest_installed() {
  for (const char r : {'f', 'h', 'i', 'l', 'c'}) {
    const std::string file = std::string(cli::kGshhgDirectory) +
                             "/binned_GSHHS_" + std::string(1, r) + ".nc";
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) return r;
  }
  return std::nullopt;
}

std::string resolution_name(char resolution) {
  switch (resolution) {
    case 'f':
      return "full";
    case 'h':
      return "high";
    case 'i':
      return "intermediate";
    case 'l':
      return "low";
    case 'c':
      return "crude";
    default:
      return std::string(1, resolution);
  }
}

}  // namespace gshhg

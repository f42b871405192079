// The GSHHG coastlines as the command line reads them: the one place that
// names the GSHHG reader's functions. Debian's gmt-gshhg-* packages hold
// them in kGshhgDirectory, one file per resolution.
#pragma once

#include <optional>
#include <string>

#include "morvelstandrik/coast/shoreline.hpp"

namespace gshhg {

// The shorelines at one resolution ('f' full, 'h' high, 'i' intermediate,
// 'l' low, 'c' crude) from the files in dir, with the level of each point;
// throws coast::BadData naming the file or package when they cannot be
// read.
coast::Shoreline load(char resolution, const std::string& dir);
// The finest resolution installed, or none.
std::optional<char> finest_installed();
// The resolution in words: 'i' -> "intermediate".
std::string resolution_name(char resolution);

}  // namespace gshhg

namespace cli {

inline constexpr const char* kGshhgDirectory = "/usr/share/gmt-gshhg";

// The Debian package that holds a resolution: 'f' -> "gmt-gshhg-full".
inline const char* gshhg_package(char resolution) {
  switch (resolution) {
    case 'f':
      return "gmt-gshhg-full";
    case 'h':
      return "gmt-gshhg-high";
    default:
      return "gmt-gshhg-low";
  }
}

}  // namespace cli

// The GSHHG coastlines as the command line reads them: the one place that
// includes the GSHHG reader. Debian's gmt-gshhg-* packages hold
// them in kGshhgDirectory, one file per resolution.
#pragma once

#include "morvelstandrik/gshhg/gshhg.hpp"

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

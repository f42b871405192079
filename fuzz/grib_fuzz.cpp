// Fuzz target: the bytes of a GRIB file to the wind series at a few
// positions, and the window of steady wind at its last record. No crash, no
// hang, no undefined behaviour; either an error naming the file or series
// in strictly increasing time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "morvelstandrik/grib/steady.hpp"
#include "morvelstandrik/grib/wind.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const grib::Source source{
      "fuzz", std::string_view(reinterpret_cast<const char*>(data), size)};
  // Inside, on the edge of and outside the seeds' grids, and across the
  // seam of a global one.
  const std::vector<geo::Position> at = {{55.3, 5.7}, {60, 10},       {50, 0},
                                         {0, -0.5},   {-89.9, 179.9}, {80, 5}};
  for (const grib::Method method :
       {grib::Method::kBilinear, grib::Method::kNearest}) {
    std::vector<grib::Series> got;
    try {
      got = grib::read_wind({&source, 1}, at, method);
    } catch (const grib::Error& e) {
      if (std::string_view(e.what()).substr(0, 6) != "fuzz: ") std::abort();
      return 0;
    }
    if (got.size() != at.size()) std::abort();
    for (const grib::Series& s : got) {
      if (!s.error.empty() && !s.records.empty()) std::abort();
      for (std::size_t k = 1; k < s.records.size(); ++k) {
        if (s.records[k].time <= s.records[k - 1].time) std::abort();
      }
      if (s.records.empty()) continue;
      for (const grib::DurationMethod m :
           {grib::DurationMethod::kSteady, grib::DurationMethod::kEquivalent}) {
        grib::SteadyRules rules;
        rules.method = m;
        const grib::Window w =
            grib::window(s.records, s.records.size() - 1, rules);
        if (w.first > w.last || w.last != s.records.size() - 1) std::abort();
      }
    }
  }
  return 0;
}

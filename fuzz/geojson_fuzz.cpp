// Fuzz target: GeoJSON land polygons, then the fetch over whatever they
// gave. A file is read or refused with coast::BadData; nothing else may
// happen.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "morvelstandrik/coast/fetch.hpp"
#include "morvelstandrik/coast/user_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    const coast::Coast c(coast::read_geojson_text(text, "fuzz.geojson"));
    try {
      coast::fetch(c, {0, 0}, 90, coast::Method::saville, 300);
    } catch (const coast::OnLand&) {
    }
  } catch (const coast::BadData&) {
  }
  return 0;
}

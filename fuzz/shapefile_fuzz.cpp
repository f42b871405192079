// Fuzz target: shapefiles of land polygons, then the fetch over whatever
// they gave. The input is the .shp's length (two bytes, little-endian),
// the .shp and then the .shx. A file is read or refused with
// coast::BadData; nothing else may happen.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "morvelstandrik/coast/fetch.hpp"
#include "morvelstandrik/coast/user_file.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  const std::size_t shp_size = data[0] | (std::size_t{data[1]} << 8);
  const std::string_view rest(reinterpret_cast<const char*>(data) + 2,
                              size - 2);
  const std::string_view shp = rest.substr(0, shp_size);
  const std::string_view shx =
      rest.substr(shp_size < rest.size() ? shp_size : rest.size());
  try {
    const coast::Coast c(coast::read_shapefile_bytes(shp, shx, "fuzz.shp"));
    try {
      coast::fetch(c, {1, 1}, 0, coast::Method::spm, 300);
    } catch (const coast::OnLand&) {
    }
  } catch (const coast::BadData&) {
  }
  return 0;
}

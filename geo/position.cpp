#include "morvelstandrik/geo/position.hpp"

#include <GeographicLib/DMS.hpp>
#include <GeographicLib/Math.hpp>

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>

namespace geo {
namespace {

std::string trimmed(std::string_view text) {
  const auto blank = [](char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
  };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

Position parse_position(std::string_view lat_text, std::string_view lon_text) {
  const std::string a = trimmed(lat_text);
  const std::string b = trimmed(lon_text);
  if (a.empty() || b.empty())
    throw BadInput("a position needs a latitude and a longitude");
  double lat = 0;
  double lon = 0;
  try {
    GeographicLib::DMS::DecodeLatLon(a, b, lat, lon);
  } catch (const GeographicLib::GeographicErr& e) {
    throw BadInput("position \"" + a + ", " + b +
                   "\" is not valid: " + e.what());
  }
  if (!std::isfinite(lat) || !std::isfinite(lon))
    throw BadInput("position \"" + a + ", " + b + "\" is not finite");
  if (lat < -90 || lat > 90)
    throw BadInput("latitude must lie between -90 and 90 degrees");
  lon = GeographicLib::Math::AngNormalize(lon);  // (-180, 180]
  if (lon == 180) lon = -180;
  return {lat, lon};
}

Position parse_position(std::string_view both) {
  const std::string text = trimmed(both);
  std::size_t cut = text.find(',');
  std::size_t skip = 1;
  if (cut == std::string::npos) {
    cut = text.find_first_of(" \t");
    if (cut == std::string::npos)
      throw BadInput("position \"" + text +
                     "\" needs a latitude and a longitude, as LAT,LON");
    skip = 1;
  }
  if (text.find(',', cut + skip) != std::string::npos)
    throw BadInput("position \"" + text +
                   "\" has more than two parts; give LAT,LON");
  return parse_position(std::string_view(text).substr(0, cut),
                        std::string_view(text).substr(cut + skip));
}

double parse_direction(std::string_view raw) {
  const std::string text = trimmed(raw);
  static constexpr std::array<std::string_view, 16> points = {
      "N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
      "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
  std::string upper = text;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  for (std::size_t i = 0; i < points.size(); ++i)
    if (upper == points[i]) return 22.5 * static_cast<double>(i);

  double value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (text.empty() || ec != std::errc() || end != last || !std::isfinite(value))
    throw BadInput("wind direction \"" + text +
                   "\" is neither degrees (0 to 360) nor a compass point "
                   "(N, NNE, NE, ..., NNW)");
  if (value < 0 || value > 360)
    throw BadInput("wind direction " + text + " is outside 0 to 360 degrees");
  return value == 360 ? 0 : value;
}

}  // namespace geo

#include "morvelstandrik/grib/wind.hpp"

#include <eccodes.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace grib {
namespace {

// ---------------------------------------------------------------- bytes

std::uint64_t big_endian(std::string_view b, std::size_t at, int n) {
  std::uint64_t v = 0;
  for (int k = 0; k < n; ++k) {
    v = (v << 8) | static_cast<unsigned char>(b[at + static_cast<size_t>(k)]);
  }
  return v;
}

// One message as found in a file's bytes, before ecCodes sees it.
struct Span {
  std::string_view bytes;  // the whole message, GRIB ... 7777
  // A field cut out of a message of several: the bytes it was built in.
  std::shared_ptr<const std::string> owned;
  int edition = 0;
  int number = 0;                     // in its file, from 1
  std::string_view grid;              // the grid definition section
  bool simple = false;                // grid values in simple packing
  std::uint64_t coded = 0, bits = 0;  // simple packing: values and their width
  std::uint64_t data_bytes = 0;       // bytes that hold the packed values
  // From the grid section's own bytes: ecCodes works some of these out
  // from each other, and loops without end on some damaged sections.
  long grid_template = -1;  // edition 1 data representation type, or the
                            // edition 2 grid definition template number
  bool reduced = false;     // rows of different lengths
  std::uint64_t ni = 0, nj = 0, points = 0;
  bool bitmap = false;
};

std::string where(const Source& s, int number) {
  std::string m = s.name + ": ";
  if (number > 0) m += "message " + std::to_string(number) + ": ";
  return m;
}

[[noreturn]] void fail(const Source& s, int number, const std::string& what) {
  throw Error(where(s, number) + what);
}

// The sections of an edition 1 message: the grid description (required:
// a message without one cannot be placed), and for simple packing the
// number of values the data section can hold.
void sections1(const Source& s, Span& m) {
  const std::string_view b = m.bytes;
  const std::size_t end = b.size() - 4;
  std::size_t at = 8;
  if (at + 8 > end) fail(s, m.number, "its product section is cut short");
  const std::size_t pds = big_endian(b, at, 3);
  const unsigned flags = static_cast<unsigned char>(b[at + 7]);
  if (pds < 28 || at + pds > end) {
    fail(s, m.number, "its product section is damaged");
  }
  at += pds;
  if (!(flags & 0x80)) fail(s, m.number, "it has no grid description");
  if (at + 6 > end) fail(s, m.number, "its grid section is cut short");
  const std::size_t gds = big_endian(b, at, 3);
  if (gds < 32 || at + gds > end)
    fail(s, m.number, "its grid section is damaged");
  m.grid = b.substr(at, gds);
  m.grid_template = static_cast<unsigned char>(b[at + 5]);
  m.ni = big_endian(b, at + 6, 2);
  m.nj = big_endian(b, at + 8, 2);
  m.reduced = m.ni == 0xffff || m.nj == 0xffff;
  m.points = m.reduced ? 0 : m.ni * m.nj;
  m.bitmap = flags & 0x40;
  at += gds;
  if (flags & 0x40) {
    if (at + 6 > end) fail(s, m.number, "its bitmap section is cut short");
    const std::size_t bms = big_endian(b, at, 3);
    if (bms < 6 || at + bms > end) {
      fail(s, m.number, "its bitmap section is damaged");
    }
    at += bms;
  }
  if (at + 11 > end) fail(s, m.number, "its data section is cut short");
  const std::size_t bds = big_endian(b, at, 3);
  if (bds < 11 || at + bds > end)
    fail(s, m.number, "its data section is damaged");
  const unsigned bflags = static_cast<unsigned char>(b[at + 3]);
  const unsigned unused = bflags & 0x0f;
  // Spherical harmonics, and second-order packing, which ecCodes decodes
  // past the end of a damaged message: not read.
  if (bflags & 0xd0) {
    fail(s, m.number,
         "its values are packed as spherical harmonics or second-order, "
         "which is not read; repack them as grid_simple (grib_set -r -s "
         "packingType=grid_simple)");
  }
  m.simple = true;  // grid point values, simple packing
  m.bits = static_cast<unsigned char>(b[at + 10]);
  const std::uint64_t room = (bds - 11) * 8;
  m.coded = m.bits == 0 ? 0 : (room < unused ? 0 : (room - unused) / m.bits);
  m.data_bytes = bds - 11;
}

// The sections of an edition 2 message: one field (the grid section, the
// data representation and the data), in order.
void sections2(const Source& s, Span& m) {
  const std::string_view b = m.bytes;
  const std::size_t end = b.size() - 4;
  std::size_t at = 16;
  int fields = 0;
  std::uint64_t template5 = 65535;
  while (at < end) {
    if (at + 5 > end) fail(s, m.number, "a section is cut short");
    const std::uint64_t len = big_endian(b, at, 4);
    const int num = static_cast<unsigned char>(b[at + 4]);
    if (len < 5 || len > end - at) {
      fail(s, m.number, "section " + std::to_string(num) + " is damaged");
    }
    if (num == 3) {
      if (len < 14) fail(s, m.number, "its grid section is damaged");
      if (m.grid.empty()) {
        m.grid = b.substr(at, len);
        m.points = big_endian(b, at + 6, 4);
        m.reduced = b[at + 10] != 0;  // a list of the rows' lengths
        m.grid_template = static_cast<long>(big_endian(b, at + 12, 2));
        if ((m.grid_template == 0 || m.grid_template == 40) && len >= 38) {
          m.ni = big_endian(b, at + 30, 4);
          m.nj = big_endian(b, at + 34, 4);
          m.reduced = m.reduced || m.ni == 0xffffffff || m.nj == 0xffffffff;
        }
      }
    } else if (num == 5 && fields == 0) {
      if (len < 11) fail(s, m.number, "its data representation is damaged");
      m.coded = big_endian(b, at + 5, 4);
      template5 = big_endian(b, at + 9, 2);
      if (template5 == 0 && len >= 21) {
        m.bits = static_cast<unsigned char>(b[at + 19]);
      }
    } else if (num == 6 && fields == 0) {
      if (len < 6) fail(s, m.number, "its bitmap section is damaged");
      m.bitmap = static_cast<unsigned char>(b[at + 5]) != 255;
    } else if (num == 7) {
      if (++fields == 1) m.data_bytes = len - 5;
    } else if (num < 1 || num > 7) {
      fail(s, m.number, "it has an unknown section " + std::to_string(num));
    }
    at += len;
  }
  if (at != end) fail(s, m.number, "its sections overrun the end marker");
  if (m.grid.empty()) fail(s, m.number, "it has no grid section");
  if (fields != 1) {
    fail(s, m.number,
         fields == 0 ? "it has no data section"
                     : "it holds several fields in one message; split it "
                       "(grib_copy) first");
  }
  m.simple = template5 == 0;
}

// The fields of an edition 2 message that holds several (as NCEP writes
// u and v together), each made a message of its own: the indicator with
// its length set, the identification, local use and grid sections in force
// for it, then its product, data representation, bitmap and data sections
// and the end marker. A bitmap section that says "the bitmap before" (254)
// is given that bitmap. A message of one field is left as it is; a damaged
// one too, for sections2 to say what is wrong with it.
std::vector<Span> fields2(const Span& m) {
  const std::string_view b = m.bytes;
  const std::size_t end = b.size() - 4;
  std::size_t at = 16;
  std::string_view section[8];
  std::string_view last_bitmap;
  std::vector<std::string> built;
  while (at + 5 <= end) {
    const std::uint64_t len = big_endian(b, at, 4);
    const int num = static_cast<unsigned char>(b[at + 4]);
    if (len < 5 || len > end - at || num < 1 || num > 7) return {m};
    section[num] = b.substr(at, len);
    if (num == 3) section[4] = section[5] = section[6] = {};
    if (num == 6 && len >= 6) {
      const unsigned indicator = static_cast<unsigned char>(b[at + 5]);
      if (indicator == 0) last_bitmap = section[6];
      if (indicator == 254) {
        if (last_bitmap.empty()) return {m};
        section[6] = last_bitmap;
      }
    }
    if (num == 7) {
      std::string field(b.substr(0, 16));
      for (int k = 1; k <= 7; ++k) field += section[k];
      field += "7777";
      for (int k = 0; k < 8; ++k) {  // the total length, 8 bytes
        field[static_cast<std::size_t>(8 + k)] =
            static_cast<char>((field.size() >> (8 * (7 - k))) & 0xff);
      }
      built.push_back(std::move(field));
      section[4] = section[5] = section[7] = {};
    }
    at += len;
  }
  if (built.size() < 2) return {m};
  std::vector<Span> out;
  for (std::string& field : built) {
    Span f;
    f.edition = 2;
    f.number = m.number;
    f.owned = std::make_shared<const std::string>(std::move(field));
    f.bytes = *f.owned;
    out.push_back(f);
  }
  return out;
}

// Splits a file's bytes into messages. Bytes between or after messages
// that are blank or zero are skipped; anything else is not GRIB.
std::vector<Span> messages(const Source& s) {
  std::vector<Span> out;
  int count = 0;  // messages in the file, whatever fields they hold
  const std::string_view b = s.bytes;
  std::size_t at = 0;
  for (;;) {
    std::size_t start = b.find("GRIB", at);
    const std::size_t stop = start == b.npos ? b.size() : start;
    for (std::size_t k = at; k < stop; ++k) {
      const char c = b[k];
      if (c != 0 && c != ' ' && c != '\n' && c != '\r' && c != '\t') {
        if (count == 0) fail(s, 0, "is not a GRIB file");
        fail(s, 0,
             "bytes after message " + std::to_string(count) + " are not GRIB");
      }
    }
    if (start == b.npos) break;
    Span m;
    m.number = count + 1;
    if (start + 16 > b.size()) fail(s, m.number, "it is cut short");
    m.edition = static_cast<unsigned char>(b[start + 7]);
    std::uint64_t len = 0;
    if (m.edition == 1) {
      len = big_endian(b, start + 4, 3);
      if (len & 0x800000) {
        fail(s, m.number, "an edition 1 message of over 8 MB is not read");
      }
    } else if (m.edition == 2) {
      len = big_endian(b, start + 8, 8);
    } else {
      fail(s, m.number,
           "GRIB edition " + std::to_string(m.edition) +
               " is not read (1 and 2 are)");
    }
    if (len < 24 || len > b.size() - start) {
      fail(s, m.number, "it is cut short (the file ends inside it)");
    }
    m.bytes = b.substr(start, len);
    if (m.bytes.substr(len - 4) != "7777") {
      fail(s, m.number,
           "it is damaged: no end marker 7777 where its length "
           "says");
    }
    ++count;
    if (m.edition == 1) {
      sections1(s, m);
      out.push_back(m);
    } else {
      for (Span& f : fields2(m)) {
        sections2(s, f);
        out.push_back(f);
      }
    }
    at = start + len;
  }
  if (out.empty()) fail(s, 0, "is not a GRIB file");
  return out;
}

// ---------------------------------------------------------------- ecCodes

void quiet(const codes_context*, int, const char*) {}

struct HandleDeleter {
  void operator()(codes_handle* h) const { codes_handle_delete(h); }
};
using Handle = std::unique_ptr<codes_handle, HandleDeleter>;

struct Reader {
  const Source& source;
  const Span& m;
  codes_handle* h;

  [[noreturn]] void fail(const std::string& what) const {
    grib::fail(source, m.number, what);
  }
  std::optional<long> maybe(const char* key) const {
    long v = 0;
    if (codes_get_long(h, key, &v) != CODES_SUCCESS) return std::nullopt;
    return v;
  }
  long get(const char* key) const {
    long v = 0;
    const int e = codes_get_long(h, key, &v);
    if (e != CODES_SUCCESS) {
      fail(std::string("cannot read ") + key + ": " +
           codes_get_error_message(e));
    }
    return v;
  }
  double real(const char* key) const {
    double v = 0;
    const int e = codes_get_double(h, key, &v);
    if (e != CODES_SUCCESS) {
      fail(std::string("cannot read ") + key + ": " +
           codes_get_error_message(e));
    }
    return v;
  }
};

// Which wind component a message holds: 'u', 'v' or 0 (another field).
char component(const Reader& r, int edition) {
  if (edition == 1) {
    const long table = r.get("table2Version");
    const long param = r.get("indicatorOfParameter");
    const long level_type = r.get("indicatorOfTypeOfLevel");
    const long level = r.get("level");
    const bool at_10m = level_type == 105 && level == 10;
    if (table < 128) {  // the WMO's own parameters, shared by every centre
      if (param == 33 && at_10m) return 'u';
      if (param == 34 && at_10m) return 'v';
      return 0;
    }
    if (table == 128 && r.get("centre") == 98) {  // ECMWF: 10u, 10v
      if (param == 165) return 'u';
      if (param == 166) return 'v';
    }
    return 0;
  }
  if (r.get("discipline") != 0 || r.get("parameterCategory") != 2) return 0;
  const long param = r.get("parameterNumber");
  if (param != 2 && param != 3) return 0;
  if (r.get("typeOfFirstFixedSurface") != 103) return 0;
  const auto scale = r.maybe("scaleFactorOfFirstFixedSurface");
  const auto value = r.maybe("scaledValueOfFirstFixedSurface");
  if (!scale || !value) return 0;
  double metres = static_cast<double>(*value);
  for (long k = 0; k < *scale && k < 20; ++k) metres /= 10;
  if (metres != 10.0) return 0;
  return param == 2 ? 'u' : 'v';
}

// The units of time of the code tables (minute, hour, day, month, year,
// decade, 30 years, century, 3, 6 and 12 hours, second): with any other, or
// a missing one, ecCodes fails or loops working out a validity time.
bool known_time_unit(long unit, int edition) {
  if (unit >= 0 && unit <= 7) return true;
  if (unit >= 10 && unit <= 12) return true;
  return edition == 1 ? unit == 254 : unit == 13;
}

std::int64_t date_time(const Reader& r, long date, long hhmm) {
  const long y = date / 10000, mo = date / 100 % 100, d = date % 100;
  const long hh = hhmm / 100, mi = hhmm % 100;
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || hh < 0 || hh > 23 || mi < 0 ||
      mi > 59 || y < 1 || y > 9999) {
    r.fail("its date " + std::to_string(date) + " " + std::to_string(hhmm) +
           " is not a date and time");
  }
  return days_from_civil(y, static_cast<unsigned>(mo),
                         static_cast<unsigned>(d)) *
             86400 +
         hh * 3600 + mi * 60;
}

// ---------------------------------------------------------------- grids

// Where a position's value comes from in one grid: four points and two
// weights (nearest: the same point four times, weights 0).
struct Stencil {
  std::array<int, 4> at{};  // (r,c) (r,c+1) (r+1,c) (r+1,c+1)
  double wx = 0, wy = 0;
  std::string error;  // why the position has no value here; empty: it has
};

struct Grid {
  std::size_t points = 0;
  std::vector<Stencil> stencils;  // one per position
};

std::string degrees(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

// Finds the two rows around lat in a monotonic list of row latitudes; the
// weight of the second. False when outside.
bool bracket(const std::vector<double>& rows, double lat, int& r, double& w) {
  const std::size_t n = rows.size();
  const bool up = rows[n - 1] > rows[0];
  const double lo = up ? rows[0] : rows[n - 1];
  const double hi = up ? rows[n - 1] : rows[0];
  if (!(lat >= lo && lat <= hi)) return false;
  std::size_t k = 0;
  while (k + 2 < n && (up ? lat > rows[k + 1] : lat < rows[k + 1])) ++k;
  r = static_cast<int>(k);
  w = (lat - rows[k]) / (rows[k + 1] - rows[k]);
  return true;
}

// The name of a grid that cannot be interpolated, by its template.
std::string grid_name(long kind, int edition) {
  struct Name {
    long one, two;  // edition 1 and 2 numbers
    const char* name;
  };
  static constexpr Name kNames[] = {
      {10, 1, "rotated_ll"}, {14, 41, "rotated_gg"},
      {1, 10, "mercator"},   {5, 20, "polar_stereographic"},
      {3, 30, "lambert"},    {50, 50, "sh (spherical harmonics)"},
      {8, 90, "space_view"}, {6, 31, "albers"},
  };
  for (const Name& n : kNames) {
    if ((edition == 1 ? n.one : n.two) == kind) return n.name;
  }
  return "template " + std::to_string(kind);
}

Grid make_grid(const Reader& r, const Span& m,
               std::span<const geo::Position> at, Method method) {
  const int edition = m.edition;
  const long kind = m.grid_template;
  const bool gaussian = kind == (edition == 1 ? 4 : 40);
  if (kind != 0 && !gaussian) {
    const std::string type = grid_name(kind, edition);
    if (type.find("rotated") != std::string::npos ||
        type.find("lambert") != std::string::npos ||
        type.find("polar") != std::string::npos ||
        type.find("mercator") != std::string::npos ||
        type.find("albers") != std::string::npos) {
      r.fail("its grid is " + type +
             ": the wind would have to be turned from the grid's axes to "
             "true north, which is not done; use a regular latitude/"
             "longitude or Gaussian grid");
    }
    r.fail("its grid (" + type +
           ") cannot be interpolated; a regular latitude/longitude or "
           "Gaussian grid can");
  }
  if (m.reduced || m.ni < 1 || m.nj < 1 || m.ni > 1000000 || m.nj > 1000000) {
    r.fail(
        "its grid has rows of different lengths (a reduced grid), "
        "which cannot be interpolated");
  }
  const long ni = static_cast<long>(m.ni), nj = static_cast<long>(m.nj);
  const std::size_t data_points = static_cast<std::size_t>(m.points);
  if (m.ni * m.nj != m.points) {
    r.fail("it holds " + std::to_string(data_points) +
           " values for a grid of " + std::to_string(ni) + " x " +
           std::to_string(nj) + " points");
  }
  if (ni < 2 || nj < 2) {
    r.fail("its grid of one row or column cannot be interpolated");
  }
  const long i_neg = r.maybe("iScansNegatively").value_or(0);
  const long j_pos = r.maybe("jScansPositively").value_or(0);
  const long j_consecutive = r.maybe("jPointsAreConsecutive").value_or(0);
  if (r.maybe("alternativeRowScanning").value_or(0) != 0) {
    r.fail("its rows alternate in direction, which is not read");
  }
  const double lat0 = r.real("latitudeOfFirstGridPointInDegrees");
  const double lat1 = r.real("latitudeOfLastGridPointInDegrees");
  const double lon0 = r.real("longitudeOfFirstGridPointInDegrees");
  const double lon1 = r.real("longitudeOfLastGridPointInDegrees");

  std::vector<double> rows(static_cast<std::size_t>(nj));
  if (gaussian) {
    const long n = r.get("N");
    // Working out the latitudes takes time that grows as N squared: N is
    // held to 2560 (about 4 km), finer than the models publish winds on.
    if (n < 1 || n > 2560 || nj > 2 * n) {
      r.fail("its Gaussian grid's number of latitudes N = " +
             std::to_string(n) + " does not fit (" + std::to_string(nj) +
             " rows; N up to 2560 is read)");
    }
    std::vector<double> lats(static_cast<std::size_t>(2 * n));
    if (codes_get_gaussian_latitudes(n, lats.data()) != CODES_SUCCESS) {
      r.fail("the Gaussian latitudes of its grid cannot be worked out");
    }
    // The grid may be a band of the global one: find its first row.
    long first = -1;
    for (long k = 0; k < 2 * n; ++k) {
      if (std::fabs(lats[static_cast<std::size_t>(k)] - lat0) < 0.0015) {
        first = k;
        break;
      }
    }
    const long step = j_pos ? -1 : 1;  // the list runs north to south
    const long last = first + step * (nj - 1);
    if (first < 0 || last < 0 || last >= 2 * n ||
        std::fabs(lats[static_cast<std::size_t>(last)] - lat1) > 0.0015) {
      r.fail(
          "its first and last latitudes are not rows of its Gaussian "
          "grid");
    }
    for (long k = 0; k < nj; ++k) {
      rows[static_cast<std::size_t>(k)] =
          lats[static_cast<std::size_t>(first + step * k)];
    }
  } else {
    const double dlat = (lat1 - lat0) / static_cast<double>(nj - 1);
    if (dlat == 0 || (dlat > 0) != (j_pos != 0)) {
      r.fail("its first and last latitudes do not match its scanning order");
    }
    for (long k = 0; k < nj; ++k) {
      rows[static_cast<std::size_t>(k)] = lat0 + static_cast<double>(k) * dlat;
    }
  }

  // Columns: the longitude grows (or falls, scanning westwards) by dlon
  // from the first; the span is taken modulo 360.
  const double sign = i_neg ? -1.0 : 1.0;
  double span = std::fmod(sign * (lon1 - lon0), 360.0);
  if (span < 0) span += 360.0;
  if (span == 0) span = 360.0;  // first and last the same meridian
  double dlon = span / static_cast<double>(ni - 1);
  const double around = dlon * static_cast<double>(ni);
  // A global grid: the last longitude is often rounded (to a thousandth of
  // a degree in edition 1), the spacing is not.
  const bool global = std::fabs(around - 360.0) < dlon * 1e-3;
  if (global) dlon = 360.0 / static_cast<double>(ni);
  const bool repeated = std::fabs(span - 360.0) < dlon * 1e-3;

  Grid g;
  g.points = data_points;
  for (const geo::Position& p : at) {
    Stencil s;
    int row = 0;
    double wy = 0;
    if (!bracket(rows, p.lat, row, wy)) {
      s.error = where(r.source, r.m.number) + "the position " + degrees(p.lat) +
                "," + degrees(p.lon) + " is outside its grid (latitudes " +
                degrees(rows.front()) + " to " + degrees(rows.back()) + ")";
      g.stencils.push_back(s);
      continue;
    }
    double x = std::fmod(sign * (p.lon - lon0), 360.0);
    if (x < 0) x += 360.0;
    double fi = x / dlon;
    const double last = static_cast<double>(ni - 1);
    int col = 0, col2 = 0;
    double wx = 0;
    if (repeated && fi > last) fi = 0;  // exactly on the repeated meridian
    if (fi <= last) {
      col = std::min(static_cast<int>(fi), static_cast<int>(ni - 2));
      col2 = col + 1;
      wx = fi - col;
    } else if (global) {  // across the seam, last column to first
      col = static_cast<int>(ni - 1);
      col2 = 0;
      wx = fi - last;
    } else {
      s.error = where(r.source, r.m.number) + "the position " + degrees(p.lat) +
                "," + degrees(p.lon) + " is outside its grid (longitudes " +
                degrees(lon0) + " to " + degrees(lon1) + ")";
      g.stencils.push_back(s);
      continue;
    }
    auto index = [&](int rr, int cc) {
      return j_consecutive ? cc * static_cast<int>(nj) + rr
                           : rr * static_cast<int>(ni) + cc;
    };
    if (method == Method::kNearest) {
      const int rr = wy < 0.5 ? row : row + 1;
      const int cc = wx < 0.5 ? col : col2;
      s.at.fill(index(rr, cc));
    } else {
      s.at = {index(row, col), index(row, col2), index(row + 1, col),
              index(row + 1, col2)};
      s.wx = wx;
      s.wy = wy;
    }
    g.stencils.push_back(s);
  }
  return g;
}

// One component at one validity time from one message.
struct Field {
  std::int64_t valid = 0, run = 0;
  char comp = 0;
  std::size_t source = 0;
  int number = 0;
  std::size_t order = 0;       // in the reading order of all messages
  std::vector<double> values;  // one per position
};

}  // namespace

std::int64_t days_from_civil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

CivilDate civil_from_days(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(days - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::string format_time(std::int64_t t) {
  const std::int64_t days = t >= 0 ? t / 86400 : -((-t + 86399) / 86400);
  const std::int64_t secs = t - days * 86400;
  const CivilDate date = civil_from_days(days);
  const std::int64_t y = date.year;
  const unsigned m = date.month, d = date.day;
  char buf[48];
  const int hh = static_cast<int>(secs / 3600),
            mi = static_cast<int>(secs / 60 % 60),
            ss = static_cast<int>(secs % 60);
  if (ss == 0) {
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02dZ",
                  static_cast<long long>(y), m, d, hh, mi);
  } else {
    std::snprintf(buf, sizeof buf, "%04lld-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<long long>(y), m, d, hh, mi, ss);
  }
  return buf;
}

std::int64_t parse_time(std::string_view text) {
  const std::string bad = "'" + std::string(text) +
                          "' is not a time; give ISO 8601 UTC, "
                          "2026-12-10T06:00Z";
  std::size_t at = 0;
  auto number = [&](std::size_t digits) -> int {
    if (at + digits > text.size()) throw Error(bad);
    int v = 0;
    for (std::size_t k = 0; k < digits; ++k) {
      const char c = text[at + k];
      if (c < '0' || c > '9') throw Error(bad);
      v = v * 10 + (c - '0');
    }
    at += digits;
    return v;
  };
  auto take = [&](char c) {
    if (at < text.size() && text[at] == c) {
      ++at;
      return true;
    }
    return false;
  };
  const int y = number(4);
  if (!take('-')) throw Error(bad);
  const int mo = number(2);
  if (!take('-')) throw Error(bad);
  const int d = number(2);
  int hh = 0, mi = 0, ss = 0;
  if (take('T') || take('t') || take(' ')) {
    hh = number(2);
    if (take(':')) {
      mi = number(2);
      if (take(':')) ss = number(2);
    }
  }
  if (at < text.size()) {
    const std::string_view zone = text.substr(at);
    if (zone != "Z" && zone != "z" && zone != "+00:00" && zone != "+0000" &&
        zone != "+00") {
      throw Error(bad + " (the time must be UTC)");
    }
  }
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30,
                                  31, 31, 30, 31, 30, 31};
  if (mo < 1 || mo > 12 || d < 1 || d > kDays[mo - 1] || hh > 23 || mi > 59 ||
      ss > 59) {
    throw Error(bad);
  }
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (mo == 2 && d == 29 && !leap) throw Error(bad);
  return days_from_civil(y, static_cast<unsigned>(mo),
                         static_cast<unsigned>(d)) *
             86400 +
         hh * 3600 + mi * 60 + ss;
}

std::vector<Series> read_wind(std::span<const Source> sources,
                              std::span<const geo::Position> at,
                              Method method) {
  codes_context_set_logging_proc(codes_context_get_default(), quiet);
  std::vector<Field> fields;
  // Grids by the bytes of their definition and the number of values: each
  // distinct grid is worked out once.
  std::unordered_map<std::string_view, Grid> grids;
  std::vector<int> indices;
  std::vector<double> got, field;
  std::vector<std::string> errors(at.size());
  std::size_t order = 0;
  for (std::size_t si = 0; si < sources.size(); ++si) {
    const Source& src = sources[si];
    for (const Span& m : messages(src)) {
      Handle handle(codes_handle_new_from_message(nullptr, m.bytes.data(),
                                                  m.bytes.size()));
      if (!handle) fail(src, m.number, "ecCodes cannot read it");
      const Reader r{src, m, handle.get()};
      const char comp = component(r, m.edition);
      if (comp == 0) continue;

      // Cheap checks first: ecCodes may hang on an unknown unit of time and
      // abort on a count of values that does not fit the data section.
      const long unit = r.get(m.edition == 1 ? "unitOfTimeRange"
                                             : "indicatorOfUnitOfTimeRange");
      if (!known_time_unit(unit, m.edition)) {
        r.fail("its unit of time " + std::to_string(unit) + " is unknown");
      }
      const long points = static_cast<long>(m.points);
      const bool bitmap = m.bitmap;
      if (m.points < 1 || m.points > 100000000) {
        r.fail("its number of grid points " + std::to_string(points) +
               " is damaged");
      }
      if (m.simple && m.bits > 64) {
        r.fail("its values are " + std::to_string(m.bits) + " bits wide");
      }
      // The values the data section holds against the grid's points.
      const auto n = static_cast<std::uint64_t>(points);
      const bool misfit =
          m.edition == 1
              ? m.simple && m.bits > 0 && !bitmap && m.coded < n
              : (bitmap ? m.coded > n : m.coded != n) ||
                    (m.simple && m.coded * m.bits > m.data_bytes * 8);
      if (misfit) {
        r.fail("it holds " + std::to_string(m.coded) + " values for " +
               std::to_string(points) + " grid points");
      }
      const long vdate = r.get("validityDate");
      const long vtime = r.get("validityTime");
      const std::int64_t valid = date_time(r, vdate, vtime);
      const std::int64_t run =
          date_time(r, r.get("dataDate"), r.get("dataTime"));

      auto found = grids.find(m.grid);
      if (found == grids.end()) {
        found = grids.emplace(m.grid, make_grid(r, m, at, method)).first;
      } else if (found->second.points != static_cast<std::size_t>(points)) {
        r.fail("its number of grid points does not match its grid");
      }
      const Grid& g = found->second;
      indices.clear();
      for (const Stencil& s : g.stencils) {
        indices.insert(indices.end(), s.at.begin(), s.at.end());
      }
      got.resize(indices.size());
      int e = CODES_SUCCESS;
      if (m.simple) {
        // Simple packing: only the points asked for are decoded.
        e = codes_get_double_elements(handle.get(), "values", indices.data(),
                                      static_cast<long>(indices.size()),
                                      got.data());
      } else {
        // Other packings cannot be reached value by value: the field is
        // decoded whole, and the points picked from it.
        field.resize(m.points);
        std::size_t n = field.size();
        e = codes_get_double_array(handle.get(), "values", field.data(), &n);
        if (e == CODES_SUCCESS && n != field.size()) e = CODES_WRONG_ARRAY_SIZE;
        for (std::size_t k = 0; e == CODES_SUCCESS && k < indices.size(); ++k) {
          got[k] = field[static_cast<std::size_t>(indices[k])];
        }
      }
      if (e != CODES_SUCCESS) {
        r.fail(std::string("its values cannot be decoded: ") +
               codes_get_error_message(e));
      }
      Field f{valid, run, comp, si, m.number, order++, {}};
      double missing = 9999;
      if (bitmap) missing = r.real("missingValue");
      for (std::size_t k = 0; k < g.stencils.size(); ++k) {
        const Stencil& s = g.stencils[k];
        const double* v = &got[4 * k];
        bool masked = false;
        for (int q = 0; q < 4 && bitmap; ++q)
          masked = masked || v[q] == missing;
        if (!s.error.empty() || masked) {
          if (errors[k].empty()) {
            errors[k] = !s.error.empty()
                            ? s.error
                            : where(src, m.number) +
                                  "it has no value at a grid point around " +
                                  degrees(at[k].lat) + "," +
                                  degrees(at[k].lon) + " (land or ice?)";
          }
          f.values.push_back(std::nan(""));
          continue;
        }
        const double south = (1 - s.wx) * v[0] + s.wx * v[1];
        const double north = (1 - s.wx) * v[2] + s.wx * v[3];
        f.values.push_back((1 - s.wy) * south + s.wy * north);
      }
      fields.push_back(std::move(f));
    }
  }
  if (fields.empty()) {
    std::string names;
    for (const Source& s : sources)
      names += (names.empty() ? "" : ", ") + s.name;
    throw Error(names +
                ": no 10 m wind (10u and 10v, or u and v at 10 m "
                "above the ground)");
  }

  // Each run's u and v at each validity time; the latest run wins.
  std::stable_sort(fields.begin(), fields.end(),
                   [](const Field& a, const Field& b) {
                     if (a.valid != b.valid) return a.valid < b.valid;
                     if (a.run != b.run) return a.run < b.run;
                     return a.order < b.order;
                   });
  std::vector<Series> out(at.size());
  for (std::size_t p = 0; p < at.size(); ++p) out[p].error = errors[p];
  for (std::size_t k = 0; k < fields.size();) {
    std::size_t end = k;
    const Field* u = nullptr;
    const Field* v = nullptr;
    while (end < fields.size() && fields[end].valid == fields[k].valid &&
           fields[end].run == fields[k].run) {
      (fields[end].comp == 'u' ? u : v) = &fields[end];
      ++end;
    }
    if (!u || !v) {
      const Field& lone = u ? *u : *v;
      fail(sources[lone.source], lone.number,
           std::string(u ? "u" : "v") + " without its " + (u ? "v" : "u") +
               " at " + format_time(lone.valid));
    }
    const bool latest =
        end == fields.size() || fields[end].valid != fields[k].valid;
    if (latest) {
      for (std::size_t p = 0; p < at.size(); ++p) {
        if (out[p].error.empty()) {
          out[p].records.push_back({u->valid, u->values[p], v->values[p]});
        }
      }
    }
    k = end;
  }
  return out;
}

std::vector<Series> read_wind_files(std::span<const std::string> files,
                                    std::span<const geo::Position> at,
                                    Method method) {
  struct Mapped {
    void* base = MAP_FAILED;
    std::size_t size = 0;
    ~Mapped() {
      if (base != MAP_FAILED) ::munmap(base, size);
    }
  };
  std::vector<Mapped> maps(files.size());
  std::vector<Source> sources;
  for (std::size_t k = 0; k < files.size(); ++k) {
    const int fd = ::open(files[k].c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
      const int e = errno;
      if (fd >= 0) ::close(fd);
      throw Error("cannot read " + files[k] + ": " + std::strerror(e));
    }
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      throw Error("cannot read " + files[k] + ": not a regular file");
    }
    std::string_view bytes;
    if (st.st_size > 0) {
      maps[k].size = static_cast<std::size_t>(st.st_size);
      maps[k].base =
          ::mmap(nullptr, maps[k].size, PROT_READ, MAP_PRIVATE, fd, 0);
      if (maps[k].base == MAP_FAILED) {
        const int e = errno;
        ::close(fd);
        throw Error("cannot read " + files[k] + ": " + std::strerror(e));
      }
      bytes = {static_cast<const char*>(maps[k].base), maps[k].size};
    }
    ::close(fd);
    sources.push_back({files[k], bytes});
  }
  return read_wind(sources, at, method);
}

}  // namespace grib

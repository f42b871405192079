#include "morvelstandrik/coast/user_file.hpp"

#include <shapefil.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <vector>

namespace coast {
namespace {

[[noreturn]] void bad(const std::string& name, const std::string& what) {
  throw BadData(name + ": " + what);
}

std::string contents(const std::string& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    bad(path, "cannot be read: it is a directory");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) bad(path, std::string("cannot be read: ") + std::strerror(errno));
  std::string bytes;
  try {
    bytes.assign(std::istreambuf_iterator<char>(in),
                 std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure& e) {
    bad(path, std::string("cannot be read: ") + e.what());
  }
  if (in.bad()) bad(path, "cannot be read");
  return bytes;
}

bool degrees(double lon, double lat) {
  return std::isfinite(lon) && std::isfinite(lat) && lon >= -180 &&
         lon <= 180 && lat >= -90 && lat <= 90;
}

std::string position_text(double lon, double lat) {
  char text[80];
  std::snprintf(text, sizeof text, "%.6g, %.6g", lon, lat);
  return text;
}

// A ring closed: its first point repeated at its end.
void close(std::vector<Point>& ring) {
  if (ring.empty()) return;
  const Point a = ring.front();
  const Point b = ring.back();
  if (a.lat != b.lat || a.lon != b.lon) ring.push_back(a);
}

// --- Shapefiles, read from memory through shapelib's file hooks ---------

// The two files of a shapefile held in memory; the hooks have no room for
// a pointer of their own, so the files being read are the thread's.
struct MemoryFile {
  std::string_view bytes;
  std::size_t at = 0;
};
thread_local std::string_view shp_bytes, shx_bytes;
thread_local std::string shapelib_said;

bool ends_with(const char* name, const char* tail) {
  const std::size_t n = std::strlen(name);
  const std::size_t t = std::strlen(tail);
  if (n < t) return false;
  for (std::size_t i = 0; i < t; ++i) {
    if (std::tolower(static_cast<unsigned char>(name[n - t + i])) != tail[i])
      return false;
  }
  return true;
}

SAFile memory_open(const char* name, const char* access) {
  if (access[0] != 'r' || std::strchr(access, '+')) return nullptr;
  std::string_view bytes;
  if (ends_with(name, ".shp")) {
    bytes = shp_bytes;
  } else if (ends_with(name, ".shx")) {
    bytes = shx_bytes;
  } else {
    return nullptr;
  }
  if (bytes.data() == nullptr) return nullptr;
  return reinterpret_cast<SAFile>(new MemoryFile{bytes});
}

MemoryFile& file_of(SAFile f) {
  return *reinterpret_cast<MemoryFile*>(f);
}

SAOffset memory_read(void* p, SAOffset size, SAOffset count, SAFile f) {
  MemoryFile& m = file_of(f);
  if (size == 0) return 0;
  const std::size_t left = m.at < m.bytes.size() ? m.bytes.size() - m.at : 0;
  const std::size_t whole = std::min<std::size_t>(count, left / size);
  std::memcpy(p, m.bytes.data() + m.at, whole * size);
  m.at += whole * size;
  return whole;
}

SAOffset memory_write(void*, SAOffset, SAOffset, SAFile) {
  return 0;
}

SAOffset memory_seek(SAFile f, SAOffset offset, int whence) {
  MemoryFile& m = file_of(f);
  std::size_t base = 0;
  if (whence == SEEK_CUR) base = m.at;
  if (whence == SEEK_END) base = m.bytes.size();
  m.at = base + offset;
  return 0;
}

SAOffset memory_tell(SAFile f) {
  return file_of(f).at;
}

int memory_flush(SAFile) {
  return 0;
}

int memory_close(SAFile f) {
  delete reinterpret_cast<MemoryFile*>(f);
  return 0;
}

int memory_remove(const char*) {
  return -1;
}

void memory_error(const char* message) {
  if (shapelib_said.empty()) shapelib_said = message;
}

double memory_atof(const char* text) {
  return std::strtod(text, nullptr);
}

struct CloseShp {
  void operator()(SHPInfo* h) const { SHPClose(h); }
};
struct DestroyObject {
  void operator()(SHPObject* o) const { SHPDestroyObject(o); }
};

// The length a shapefile's header claims for its file, in bytes (a
// big-endian count of 16-bit words at byte 24), or 0 without a header.
std::size_t claimed_length(std::string_view file) {
  if (file.size() < 100) return 0;
  std::size_t words = 0;
  for (int i = 24; i < 28; ++i) {
    words = (words << 8) | static_cast<unsigned char>(file[i]);
  }
  return 2 * words;
}

Shoreline read_shapes(std::string_view shp, std::string_view shx,
                      const std::string& name) {
  // shapelib sizes its tables by what the headers claim: a header that
  // claims more than the file holds would make it reserve gigabytes.
  const std::size_t shp_claims = claimed_length(shp);
  const std::size_t shx_claims = claimed_length(shx);
  if (shp_claims < 100 || shp_claims > shp.size()) {
    bad(name, "not a shapefile, or cut short (its header claims " +
                  std::to_string(shp_claims) + " bytes, the file has " +
                  std::to_string(shp.size()) + ")");
  }
  if (shx_claims < 100 || shx_claims > shx.size()) {
    bad(name, "its index (.shx) is damaged or cut short");
  }
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.FOpen = memory_open;
  hooks.FRead = memory_read;
  hooks.FWrite = memory_write;
  hooks.FSeek = memory_seek;
  hooks.FTell = memory_tell;
  hooks.FFlush = memory_flush;
  hooks.FClose = memory_close;
  hooks.Remove = memory_remove;
  hooks.Error = memory_error;
  hooks.Atof = memory_atof;
  // Empty files are still files: a view with a place to point at.
  static const char nothing = 0;
  shp_bytes = shp.data() ? shp : std::string_view(&nothing, 0);
  shx_bytes = shx.data() ? shx : std::string_view(&nothing, 0);
  shapelib_said.clear();
  const std::unique_ptr<SHPInfo, CloseShp> h(
      SHPOpenLL("memory.shp", "rb", &hooks));
  if (!h) {
    bad(name, "not a shapefile" +
                  (shapelib_said.empty() ? "" : " (" + shapelib_said + ")"));
  }
  int count = 0;
  int type = 0;
  SHPGetInfo(h.get(), &count, &type, nullptr, nullptr);
  if (type != SHPT_POLYGON && type != SHPT_POLYGONZ && type != SHPT_POLYGONM) {
    bad(name, "holds shapes of type " + std::to_string(type) +
                  ", not polygons; land must be Polygon shapes");
  }
  Shoreline s;
  s.source = name;
  for (int i = 0; i < count; ++i) {
    const std::unique_ptr<SHPObject, DestroyObject> o(
        SHPReadObject(h.get(), i));
    if (!o) bad(name, "shape " + std::to_string(i + 1) + " is damaged");
    if (o->nSHPType == SHPT_NULL) continue;
    if (o->nSHPType != type) {
      bad(name, "shape " + std::to_string(i + 1) + " is not a polygon");
    }
    const int n = o->nVertices;
    for (int part = 0; part < o->nParts; ++part) {
      const int first = o->panPartStart[part];
      const int last = part + 1 < o->nParts ? o->panPartStart[part + 1] : n;
      if (first < 0 || last > n || first > last) {
        bad(name, "shape " + std::to_string(i + 1) + " has damaged parts");
      }
      std::vector<Point> ring;
      ring.reserve(static_cast<std::size_t>(last - first) + 1);
      for (int k = first; k < last; ++k) {
        const double lon = o->padfX[k];
        const double lat = o->padfY[k];
        if (!degrees(lon, lat)) {
          bad(name, "point " + position_text(lon, lat) +
                        " is not a longitude and latitude in degrees (a "
                        "projected file must be given in WGS84 degrees)");
        }
        ring.push_back({lat, lon});
      }
      close(ring);
      if (ring.size() >= 2) s.lines.push_back(std::move(ring));
    }
  }
  return s;
}

// --- GeoJSON -------------------------------------------------------------

using nlohmann::json;

// Deeper nesting than any polygon needs is refused before parsing.
constexpr int kMostDepth = 64;

bool too_deep(std::string_view text) {
  int depth = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        quoted = false;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMostDepth) return true;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return false;
}

class GeoJson {
 public:
  explicit GeoJson(const std::string& name) : name_(name) { s_.source = name; }

  void any(const json& j, const std::string& where) {
    const std::string type = type_of(j, where);
    if (type == "FeatureCollection") {
      const json* features = member(j, "features");
      if (!features || !features->is_array()) {
        bad(name_, where + ": a FeatureCollection needs an array features");
      }
      for (std::size_t i = 0; i < features->size(); ++i) {
        feature((*features)[i], "feature " + std::to_string(i + 1));
      }
    } else if (type == "Feature") {
      feature(j, where);
    } else {
      geometry(j, where);
    }
  }

  Shoreline take() { return std::move(s_); }

 private:
  static const json* member(const json& j, const char* key) {
    const auto found = j.find(key);
    return found == j.end() ? nullptr : &*found;
  }

  std::string type_of(const json& j, const std::string& where) {
    const json* type = j.is_object() ? member(j, "type") : nullptr;
    if (!type || !type->is_string()) {
      bad(name_, where + ": not a GeoJSON object (no \"type\")");
    }
    return type->get<std::string>();
  }

  void feature(const json& j, const std::string& where) {
    if (type_of(j, where) != "Feature") bad(name_, where + ": not a Feature");
    const json* g = member(j, "geometry");
    if (!g) bad(name_, where + ": a Feature needs a geometry");
    if (g->is_null()) return;
    geometry(*g, where);
  }

  void geometry(const json& j, const std::string& where) {
    const std::string type = type_of(j, where);
    if (type == "GeometryCollection") {
      const json* all = member(j, "geometries");
      if (!all || !all->is_array()) {
        bad(name_, where + ": a GeometryCollection needs geometries");
      }
      for (const json& g : *all) geometry(g, where);
      return;
    }
    const json* c = member(j, "coordinates");
    if (type != "Polygon" && type != "MultiPolygon") {
      bad(name_,
          where + " is a " + type + "; land must be Polygon or MultiPolygon");
    }
    if (!c || !c->is_array()) bad(name_, where + ": no coordinates");
    if (type == "Polygon") {
      polygon(*c, where);
    } else {
      for (const json& p : *c) polygon(p, where);
    }
  }

  void polygon(const json& rings, const std::string& where) {
    if (!rings.is_array()) bad(name_, where + ": a polygon is a list of rings");
    for (const json& r : rings) {
      if (!r.is_array()) bad(name_, where + ": a ring is a list of positions");
      std::vector<Point> ring;
      ring.reserve(r.size() + 1);
      for (const json& p : r) {
        if (!p.is_array() || p.size() < 2 || !p[0].is_number() ||
            !p[1].is_number()) {
          bad(name_, where + ": a position is [longitude, latitude]");
        }
        const double lon = p[0].get<double>();
        const double lat = p[1].get<double>();
        if (!degrees(lon, lat)) {
          bad(name_, where + ": position " + position_text(lon, lat) +
                         " is outside longitude -180..180, latitude -90..90");
        }
        ring.push_back({lat, lon});
      }
      close(ring);
      if (ring.size() >= 2) s_.lines.push_back(std::move(ring));
    }
  }

  const std::string& name_;
  Shoreline s_;
};

}  // namespace

Shoreline read_shapefile_bytes(std::string_view shp, std::string_view shx,
                               const std::string& name) {
  return read_shapes(shp, shx, name);
}

Shoreline read_shapefile(const std::string& path) {
  if (!ends_with(path.c_str(), ".shp")) {
    bad(path, "a shapefile's name ends in .shp");
  }
  const std::string shp = contents(path);
  const std::string shx = contents(path.substr(0, path.size() - 4) +
                                   (path.back() == 'P' ? ".SHX" : ".shx"));
  return read_shapes(shp, shx, path);
}

Shoreline read_geojson_text(std::string_view text, const std::string& name) {
  if (too_deep(text)) bad(name, "nested too deep for GeoJSON polygons");
  const json j = json::parse(text.begin(), text.end(), nullptr, false);
  if (j.is_discarded()) bad(name, "not JSON");
  GeoJson reader(name);
  reader.any(j, "the file");
  return reader.take();
}

Shoreline read_geojson(const std::string& path) {
  return read_geojson_text(contents(path), path);
}

Shoreline read_user_file(const std::string& path) {
  if (ends_with(path.c_str(), ".shp")) return read_shapefile(path);
  return read_geojson(path);
}

}  // namespace coast

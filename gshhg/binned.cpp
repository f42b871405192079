#include "morvelstandrik/gshhg/binned.hpp"

#include <netcdf.h>

#include <cstddef>
#include <string>
#include <utility>

#include "morvelstandrik/coast/shoreline.hpp"

namespace gshhg::detail {
namespace {

// An open netCDF file; every failing read ends in fail(), which names it.
class File {
 public:
  explicit File(std::string path) : path_(std::move(path)) {
    const int status = nc_open(path_.c_str(), NC_NOWRITE, &id_);
    if (status != NC_NOERR)
      fail(std::string("cannot be read as a netCDF file (") +
           nc_strerror(status) + ")");
  }
  ~File() { nc_close(id_); }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  [[noreturn]] void fail(const std::string& what) const {
    throw coast::BadData(path_ + ": " + what);
  }

  // A one-number variable of type int.
  int scalar(const char* name) const {
    const int var = vector(name, NC_INT, 1);
    int value = 0;
    check(nc_get_var_int(id_, var, &value), name);
    return value;
  }

  // A one-dimensional variable of LENGTH values.
  std::vector<int> ints(const char* name, std::size_t length) const {
    std::vector<int> v(length);
    check(nc_get_var_int(id_, vector(name, NC_INT, length), v.data()), name);
    return v;
  }
  std::vector<short> shorts(const char* name, std::size_t length) const {
    std::vector<short> v(length);
    check(nc_get_var_short(id_, vector(name, NC_SHORT, length), v.data()),
          name);
    return v;
  }
  // Shorts that mean 0-65535, read straight into their unsigned place
  // (a short may be read through its unsigned type).
  std::vector<std::uint16_t> offsets(const char* name,
                                     std::size_t length) const {
    std::vector<std::uint16_t> v(length);
    check(nc_get_var_short(id_, vector(name, NC_SHORT, length),
                           reinterpret_cast<short*>(v.data())),
          name);
    return v;
  }
  // COUNT of them from index FROM on, into OUT.
  void offsets(const char* name, std::size_t length, std::size_t from,
               std::size_t count, std::uint16_t* out) const {
    check(nc_get_vara_short(id_, vector(name, NC_SHORT, length), &from, &count,
                            reinterpret_cast<short*>(out)),
          name);
  }
  std::vector<signed char> bytes(const char* name, std::size_t length) const {
    std::vector<signed char> v(length);
    check(nc_get_var_schar(id_, vector(name, NC_BYTE, length), v.data()), name);
    return v;
  }

 private:
  // The id of variable NAME after checking that it has TYPE and one
  // dimension of LENGTH.
  int vector(const char* name, nc_type type, std::size_t length) const {
    int var = 0;
    if (nc_inq_varid(id_, name, &var) != NC_NOERR)
      fail(std::string("has no variable ") + name);
    nc_type t = NC_NAT;
    int ndims = 0;
    check(nc_inq_vartype(id_, var, &t), name);
    check(nc_inq_varndims(id_, var, &ndims), name);
    if (t != type || ndims != 1)
      fail(std::string("variable ") + name + " is not of the expected type");
    int dim = 0;
    std::size_t n = 0;
    check(nc_inq_vardimid(id_, var, &dim), name);
    check(nc_inq_dimlen(id_, dim, &n), name);
    // Each variable is read once and whole: no chunks need keeping, and
    // netCDF's default cache would hold tens of megabytes at full
    // resolution.
    nc_set_var_chunk_cache(id_, var, 0, 0, 1.0f);
    if (n != length)
      fail(std::string("variable ") + name + " holds " + std::to_string(n) +
           " values, not " + std::to_string(length));
    return var;
  }
  void check(int status, const char* name) const {
    if (status != NC_NOERR)
      fail(std::string("cannot read ") + name + " (" + nc_strerror(status) +
           ")");
  }

  std::string path_;
  int id_ = -1;
};

// Whether offset (X, Y) lies on SIDE of its tile.
bool on_side(std::uint16_t x, std::uint16_t y, int side) {
  switch (side) {
    case south:
      return y == 0;
    case east:
      return x == edge_units;
    case north:
      return y == edge_units;
    case west:
      return x == 0;
    default:
      return false;
  }
}

}  // namespace

Binned read_binned(const std::string& path, const std::vector<bool>* wanted) {
  const File file(path);
  Binned b;
  b.minutes = file.scalar("Bin_size_in_minutes");
  b.columns = file.scalar("N_bins_in_360_longitude_range");
  b.rows = file.scalar("N_bins_in_180_degree_latitude_range");
  const int n_bins = file.scalar("N_bins_in_file");
  const int n_pieces = file.scalar("N_segments_in_file");
  const int n_points = file.scalar("N_points_in_file");
  if (b.minutes <= 0 || 360 * 60 % b.minutes != 0 ||
      b.columns != 360 * 60 / b.minutes || b.rows != 180 * 60 / b.minutes ||
      n_bins != b.columns * b.rows)
    file.fail("the tiles do not cover the globe");
  if (n_pieces < 0 || n_points < 0) file.fail("negative counts");
  const auto bins = static_cast<std::size_t>(n_bins);
  const auto pieces = static_cast<std::size_t>(n_pieces);
  const auto points = static_cast<std::size_t>(n_points);
  if (wanted && wanted->size() != bins)
    file.fail("has " + std::to_string(bins) + " tiles, not " +
              std::to_string(wanted->size()) + " as its name says");

  // The pieces are stored tile after tile, the points piece after piece.
  const std::vector<int> first_piece =
      file.ints("Id_of_first_segment_in_a_bin", bins);
  const std::vector<short> piece_count =
      file.shorts("N_segments_in_a_bin", bins);
  const std::vector<short> corners =
      file.shorts("Embedded_node_levels_in_a_bin", bins);
  b.first_piece.resize(bins);
  b.piece_count.resize(bins);
  b.corners.resize(bins);
  b.loaded.resize(bins);
  long long next_piece = 0;
  for (std::size_t i = 0; i < bins; ++i) {
    if (first_piece[i] != next_piece || piece_count[i] < 0)
      file.fail("tile " + std::to_string(i) + " refers to missing pieces");
    next_piece += piece_count[i];
    b.first_piece[i] = static_cast<std::uint32_t>(first_piece[i]);
    b.piece_count[i] = static_cast<std::uint32_t>(piece_count[i]);
    b.loaded[i] = !wanted || (*wanted)[i];
    const int packed = corners[i];
    if (packed < 0 || packed >= 1 << 12)
      file.fail("tile " + std::to_string(i) + " has bad corner levels");
    b.corners[i] = static_cast<std::uint16_t>(packed);
    for (int c = 0; c < 4; ++c)
      if (b.corner(i, static_cast<Corner>(c)) > 4)
        file.fail("tile " + std::to_string(i) + " has bad corner levels");
  }
  if (next_piece != n_pieces) file.fail("the tiles do not hold every piece");

  const std::vector<int> packed =
      file.ints("Embedded_npts_levels_exit_entry_for_a_segment", pieces);
  const std::vector<int> first_point =
      file.ints("Id_of_first_point_in_a_segment", pieces);
  const std::vector<signed char> ice_front =
      file.bytes("Embedded_ANT_flag", pieces);
  b.pieces.resize(pieces);
  long long next_point = 0;
  for (std::size_t i = 0; i < pieces; ++i) {
    Piece& p = b.pieces[i];
    const auto bad = [&](const char* what) {
      file.fail("piece " + std::to_string(i) + " " + what);
    };
    if (packed[i] < 0 || first_point[i] != next_point)
      bad("refers to missing points");
    const auto code = static_cast<std::uint32_t>(packed[i]);
    p.count = code >> 9;
    p.level = static_cast<int>(code >> 6 & 7);
    p.first_side = static_cast<int>(code >> 3 & 7);
    p.last_side = static_cast<int>(code & 7);
    p.first = static_cast<std::uint32_t>(first_point[i]);
    p.ice_front = ice_front[i] != 0;
    next_point += p.count;
    if (p.count < 2 || next_point > n_points) bad("refers to missing points");
    if (p.level < 1 || p.level == 5 || p.level > 6) bad("has a bad level");
    if (p.first_side > closed || p.last_side > closed ||
        (p.first_side == closed) != (p.last_side == closed))
      bad("has bad sides");
  }
  if (next_point != n_points) file.fail("the pieces do not hold every point");

  const char* const lon = "Relative_longitude_from_SW_corner_of_bin";
  const char* const lat = "Relative_latitude_from_SW_corner_of_bin";
  if (!wanted) {
    b.x = file.offsets(lon, points);
    b.y = file.offsets(lat, points);
  } else {
    // The points of each run of wanted tiles, which lie together, read
    // into place one after the other; the pieces are told where.
    for (std::size_t t = 0; t < bins;) {
      if (!b.loaded[t]) {
        b.piece_count[t] = 0;
        ++t;
        continue;
      }
      std::size_t end = t;
      while (end < bins && b.loaded[end]) ++end;
      const std::size_t p0 = b.first_piece[t];
      const std::size_t p1 = b.first_piece[end - 1] + b.piece_count[end - 1];
      if (p1 > p0) {
        const std::size_t from = b.pieces[p0].first;
        const std::size_t count =
            b.pieces[p1 - 1].first + b.pieces[p1 - 1].count - from;
        const std::size_t at = b.x.size();
        b.x.resize(at + count);
        b.y.resize(at + count);
        file.offsets(lon, points, from, count, b.x.data() + at);
        file.offsets(lat, points, from, count, b.y.data() + at);
        for (std::size_t i = p0; i < p1; ++i)
          b.pieces[i].first =
              static_cast<std::uint32_t>(b.pieces[i].first - from + at);
      }
      t = end;
    }
  }

  for (std::size_t t = 0; t < bins; ++t)
    for (std::size_t i = b.first_piece[t];
         i < b.first_piece[t] + b.piece_count[t]; ++i) {
      const Piece& p = b.pieces[i];
      const std::size_t s = p.first;
      const std::size_t e = s + p.count - 1;
      if (p.first_side == closed) {
        if (b.x[s] != b.x[e] || b.y[s] != b.y[e])
          file.fail("piece " + std::to_string(i) + " is not a closed ring");
      } else if (!on_side(b.x[s], b.y[s], p.first_side) ||
                 !on_side(b.x[e], b.y[e], p.last_side)) {
        file.fail("piece " + std::to_string(i) +
                  " does not end on the sides of its tile");
      }
    }
  return b;
}

}  // namespace gshhg::detail

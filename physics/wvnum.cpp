#include "morvelstandrik/physics/wvnum.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "morvelstandrik/physics/float_math.hpp"
#include "morvelstandrik/physics/wvnum_grid.hpp"

namespace physics {
namespace {

using wvnum_grid::nz;
constexpr float qktms = 0.5144445f;  // knots to m/s, 1852/3600

// The grid's wave numbers do not depend on the wave or the water: formed
// once, by the same float steps as in the scan. Indexed by grid point, so
// ak[0] is unused.
const std::array<float, nz + 1>& grid() {
  static const std::array<float, nz + 1> table = [] {
    std::array<float, nz + 1> ak{};
    for (std::int32_t i = 1; i <= nz; ++i) ak[i] = wvnum_grid::ak(i);
    return ak;
  }();
  return table;
}

// The scan exactly as the steps read: every grid point, from short to long
// waves. The fast search below falls back to it outside the waters its
// bounds are proven for.
WaveNumber scan_every_point(float omeg, const Com2& com2) {
  float rmin = 9999.9f;
  float restx = rmin;
  // The wave numbers akmin and akx are kept as grid indices and formed from
  // them at the end, which gives the same values: akmin starts at point 1
  // (2 pi, the 1 m wave), akx at none (-1.0).
  std::int32_t i_akmin = 1;
  std::int32_t i_akx = 0;
  std::int32_t ier = 2;
  std::int32_t isold = 0;
  const auto& ak = grid();

  // The residuals of a block of grid points are formed first and judged
  // after, so that the library calls run back to back with little held
  // across them; they read a local copy of the record, which those calls
  // cannot touch.
  const Com2 env = com2;
  constexpr std::int32_t block = 100;  // divides nz
  for (std::int32_t first = 1; first <= nz; first += block) {
    float rests[block];
    for (std::int32_t j = 0; j < block; ++j) {
      rests[j] = kdisper(omeg, ak[first + j], env).dv;
    }
    if (first == 1) {  // the first grid point is its own predecessor
      restx = rests[0];
      isold = restx < 0.0f ? -1 : 1;
    }
    for (std::int32_t j = 0; j < block; ++j) {
      const float rest = rests[j];
      if (rest * restx <= 0.0f) i_akx = first + j;
      restx = rest;
      if (std::fabs(rest) < rmin) {
        rmin = std::fabs(rest);
        i_akmin = first + j;
      }
      const std::int32_t is = rest < 0.0f ? -1 : 1;
      if (isold != is) ier = 0;
      isold = is;
    }
  }

  float result = i_akx > 0 ? ak[i_akx] : -1.0f;
  if (result <= 0.0f) result = ak[i_akmin];
  if (ier != 0) result = ak[i_akmin];
  return {result, ier};
}

// ---------------------------------------------------------------------------
// The search. Notation: at grid point i the scan forms in float
//   v1 = omeg - k c,  v2 = sqrt(g k t),  t = tanh(k d),  r = v2 - v1,
// with k = ak[i], c = curms, g = gravc, d = depthc. Its exact real
// counterpart R(k) = w(k) - omeg + c k, w(k) = sqrt(g k tanh(k d)), is
// concave in k (linear waves disperse normally at every depth), and r lies
// within E of R(k) (error bound below). Over a stretch of grid points the
// chord and the tangents of R at its two ends then bound r at every point
// of the stretch; stretches that the bounds prove irrelevant are skipped,
// the others halved, and only the few points left are formed exactly.

constexpr double u = 0x1p-24;  // unit roundoff of float

// Past this argument the library's tanh, rounded to float, is exactly 1
// (tanh(9.5) = 1 - 1.1e-8, while the float below 1 is 1 - 6e-8); a test
// over every float confirms it. The exact residual then needs no tanh.
constexpr float tanh_is_one = 9.5f;

struct Env {
  float omeg, curms, gravc, depthc;
};

// The residual at a grid point's wave number, bit for bit as kdisper forms
// it.
float exact_residual(const Env& e, float ak) {
  const float v1 = e.omeg - ak * e.curms;
  const float x = ak * e.depthc;
  const float ttan = x >= tanh_is_one ? 1.0f : dtanh(x);
  const float v2 = dsqrt(e.gravc * ak * ttan);
  return v2 - v1;
}

// R and its slope at one grid point, in double, with bounds on the error
// of that double arithmetic.
struct Node {
  std::int32_t i;
  double k;      // wave number, rad/m
  double w;      // sqrt(g k tanh(k d)), rad/s
  double r;      // R(k)
  double slope;  // dR/dk
  double dr;     // bound on the error of r
  double ds;     // bound on the error of slope
};

// Bounds on the float residual over all grid points of a stretch.
struct Bounds {
  double lo, hi;
};

// Products of two residuals at least this large cannot underflow to 0.
constexpr double certain = 0x1p-60;

class Search {
 public:
  explicit Search(const Env& e)
      : e_(e),
        g_(static_cast<double>(e.gravc)),
        d_(static_cast<double>(e.depthc)),
        c_(static_cast<double>(e.curms)),
        omeg_(static_cast<double>(e.omeg)),
        ak_(grid()) {}

  std::optional<WaveNumber> run();

 private:
  Node node(std::int32_t i);
  float exact(std::int32_t i);
  Bounds bounds(const Node& a, const Node& b) const;
  void spend();
  std::int32_t last_pair_at_or_below_zero(const Node& a, const Node& b);
  bool sign_changes(const Node& a, const Node& b);
  void smallest(const Node& a, const Node& b, const Bounds& r, bool negative);
  void consider(std::int32_t i);

  const Env e_;
  const double g_, d_, c_, omeg_;
  const std::array<float, nz + 1>& ak_;
  // Work allowed before the literal scan is cheaper; only pathological
  // waters (residuals lost in rounding over long stretches) reach it.
  std::int32_t budget_ = 600;
  bool exhausted_ = false;
  float best_ = 9999.9f;     // rmin of the scan
  std::int32_t best_i_ = 1;  // its grid point
};

void Search::spend() {
  if (--budget_ < 0) exhausted_ = true;
}

Node Search::node(std::int32_t i) {
  spend();
  Node n{};
  n.i = i;
  n.k = static_cast<double>(ak_[i]);
  const double x = n.k * d_;  // exact: a product of two floats
  // The library's double tanh is taken as accurate to 2^-40. Past 12 the
  // wave does not feel the bottom: tanh is taken as 1 and the term of
  // 1 - tanh^2 dropped from the slope, which moves w by at most 2 e^-24 w
  // and the slope by at most 53 e^-24 g / 2w; the error bounds hold both.
  const bool deep = x > 12.0;
  const double tau = deep ? 1.0 : std::tanh(x);
  n.w = std::sqrt(g_ * n.k * tau);
  n.r = n.w - omeg_ + c_ * n.k;
  n.dr = 0x1p-38 * (n.w + omeg_ + std::fabs(c_) * n.k);
  if (deep) n.dr += 0x1p-33 * n.w;
  const double half_g_w = g_ / (2.0 * n.w);
  n.slope = deep ? half_g_w + c_
                 : (g_ * tau + g_ * x * (1.0 - tau * tau)) / (2.0 * n.w) + c_;
  n.ds = 0x1p-36 * (half_g_w * (1.0 + (deep ? 0.0 : x)) + std::fabs(c_));
  if (deep) n.ds += 0x1p-28 * half_g_w;
  return n;
}

float Search::exact(std::int32_t i) {
  spend();
  return exact_residual(e_, ak_[i]);
}

// a is the shorter-wave end (larger k), b the longer-wave end.
Bounds Search::bounds(const Node& a, const Node& b) const {
  const double width = a.k - b.k;  // exact: two nearby floats
  // Concave: above the chord, so above the smaller end value.
  double lo = std::min(a.r, b.r) - std::max(a.dr, b.dr);
  // Concave: below each tangent. The tangent at b runs from b.k upwards,
  // the one at a from a.k downwards.
  double hi = std::min(b.r + std::max(b.slope, 0.0) * width,
                       a.r + std::max(-a.slope, 0.0) * width);
  if (b.slope > 0.0 && a.slope < 0.0) {
    // Rising at the long end and falling at the short end: the tangents
    // meet inside, and their meeting point is the highest R can reach.
    const double meet =
        b.r + b.slope * (a.r - b.r - a.slope * width) / (b.slope - a.slope);
    hi = std::min(hi, meet);
  }
  hi += std::max(a.dr, b.dr) + std::max(a.ds, b.ds) * width +
        0x1p-45 * (std::fabs(a.r) + std::fabs(b.r) +
                   (std::fabs(a.slope) + std::fabs(b.slope)) * width);
  // The float residual differs from R by at most
  //   2^-24 (5 w + 3 omeg + 4 |c k|) + 2^-147,
  // with w and |c k| largest at the short end: one rounding of k c, of
  // omeg - k c and of the difference; k d, tanh, g k, the product and the
  // root put v2 within 3.6 roundings of w (tanh rounded to float within
  // two roundings, checked over every float); 2^-147 covers underflow.
  const double err = u * (5.0 * a.w * (1.0 + 0x1p-30) + 3.0 * omeg_ +
                          4.0 * std::fabs(c_) * a.k) +
                     0x1p-147;
  return {lo - err, hi + err};
}

// The last grid point j in (a, b] whose residual times that of j - 1 is 0 or
// below (the scan's akx test), or 0. Searched from the long-wave end.
std::int32_t Search::last_pair_at_or_below_zero(const Node& a, const Node& b) {
  if (exhausted_) return 0;
  const Bounds r = bounds(a, b);
  if (r.lo >= certain || r.hi <= -certain) return 0;
  if (b.i - a.i <= 2) {
    float right = exact(b.i);
    for (std::int32_t j = b.i; j > a.i; --j) {
      const float left = exact(j - 1);
      if (left * right <= 0.0f) return j;
      right = left;
    }
    return 0;
  }
  const Node m = node(a.i + (b.i - a.i) / 2);
  if (const std::int32_t j = last_pair_at_or_below_zero(m, b)) return j;
  return last_pair_at_or_below_zero(a, m);
}

// Whether the residual is below 0 at one grid point of [a, b] and not below
// 0 at a neighbour (the scan's test for ier).
bool Search::sign_changes(const Node& a, const Node& b) {
  if (exhausted_) return false;
  const Bounds r = bounds(a, b);
  if (r.lo >= 0.0 || r.hi < 0.0) return false;
  if (b.i - a.i <= 2) {
    bool below = exact(a.i) < 0.0f;
    for (std::int32_t j = a.i + 1; j <= b.i; ++j) {
      const bool next = exact(j) < 0.0f;
      if (next != below) return true;
    }
    return false;
  }
  const Node m = node(a.i + (b.i - a.i) / 2);
  return sign_changes(a, m) || sign_changes(m, b);
}

// The scan's rmin rule over points met in any order: a smaller |r| wins, an
// equal one only from an earlier grid point.
void Search::consider(std::int32_t i) {
  const float r = std::fabs(exact(i));
  if (r < best_ || (r == best_ && i < best_i_)) {
    best_ = r;
    best_i_ = i;
  }
}

// The smallest |r| over [a, b] when every residual there has the same sign
// (negative: all below 0). A stretch is skipped when its bound shows that no
// point in it can beat the best so far, or only tie with it from a later
// grid point; so the best ends as the scan's rmin at the scan's grid point.
void Search::smallest(const Node& a, const Node& b, const Bounds& r,
                      bool negative) {
  if (exhausted_) return;
  const double least = negative ? std::max(-r.hi, 0.0) : std::max(r.lo, 0.0);
  const double best = static_cast<double>(best_);
  if (least > best || (least >= best && a.i >= best_i_)) return;
  if (b.i - a.i <= 2) {
    for (std::int32_t j = a.i; j <= b.i; ++j) consider(j);
    return;
  }
  const Node m = node(a.i + (b.i - a.i) / 2);
  // The half nearer to the smallest residual first, so that the other is
  // more often skipped.
  const Bounds left = bounds(a, m);
  const Bounds right = bounds(m, b);
  const double left_least =
      negative ? std::max(-left.hi, 0.0) : std::max(left.lo, 0.0);
  const double right_least =
      negative ? std::max(-right.hi, 0.0) : std::max(right.lo, 0.0);
  if (right_least < left_least) {
    smallest(m, b, right, negative);
    smallest(a, m, left, negative);
  } else {
    smallest(a, m, left, negative);
    smallest(m, b, right, negative);
  }
}

std::optional<WaveNumber> Search::run() {
  const Node first = node(1);
  const Node last = node(nz);

  // akx: the last pair at or below 0; at point 1 the residual is paired
  // with itself.
  std::int32_t akx = last_pair_at_or_below_zero(first, last);
  if (akx == 0) {
    const float r1 = exact(1);
    if (r1 * r1 <= 0.0f) akx = 1;
  }
  // ier: every change of sign is such a pair, so none lies past akx.
  bool change = false;
  if (akx >= 2) {
    change = (exact(akx - 1) < 0.0f) != (exact(akx) < 0.0f);
    if (!change && akx >= 3) change = sign_changes(first, node(akx - 1));
  }
  if (exhausted_) return std::nullopt;
  if (change) return WaveNumber{ak_[akx], 0};

  // No change of sign: every residual has the sign of the first.
  const bool negative = exact(1) < 0.0f;
  consider(nz);
  smallest(first, last, bounds(first, last), negative);
  if (exhausted_) return std::nullopt;
  return WaveNumber{ak_[best_i_], 2};
}

// The waters the bounds are proven for: finite, positive gravity, depth and
// period, and magnitudes where no step of the residual underflows to a loss
// of relative accuracy, overflows or leaves the error bound's reach.
bool searchable(float grav, float tper0, float curms, float depth, float omeg) {
  return grav >= 0x1p-20f && grav <= 0x1p20f && depth >= 0x1p-20f &&
         depth <= 0x1p40f && tper0 > 0.0f && omeg <= 0x1p40f &&
         std::fabs(curms) <= 0x1p40f;
}

}  // namespace

Dispersion kdisper(float omeg, float ak, const Com2& com2) {
  const float v1 = omeg - ak * com2.curms;
  const float ttan = dtanh(ak * com2.depthc);
  const float v2 = dsqrt(com2.gravc * ak * ttan);
  return {v1, v2, v2 - v1};
}

WaveNumber wvnum(float grav, float tper0, float curr, float depth, Com2& com2) {
  const float omeg = (pi + pi) / tper0;
  com2.gravc = grav;
  com2.depthc = depth;
  com2.curms = curr * qktms;

  if (searchable(grav, tper0, com2.curms, depth, omeg)) {
    Search search({omeg, com2.curms, grav, depth});
    if (const auto found = search.run()) return *found;
  }
  return scan_every_point(omeg, com2);
}

}  // namespace physics

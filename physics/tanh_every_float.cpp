// What the fast wave-number search assumes of the C library's tanh, checked
// for every non-negative float x against tanhl in long double:
//   - below 9.5, tanh in double rounded to float (dtanh, as the residual
//     forms it) is within two float roundings, 2^-23 tanh(x), of tanh(x);
//   - from 9.5 on it is exactly 1;
//   - tanh in double is within 2^-40 tanh(x) of tanh(x).
// Prints the largest errors seen and exits 1 when one of these fails.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "morvelstandrik/physics/float_math.hpp"

namespace {

struct Worst {
  long double float_error = 0.0L;   // |dtanh - tanh| / tanh
  long double double_error = 0.0L;  // |tanh in double - tanh| / tanh
  std::uint64_t failures = 0;
  std::mutex lock;
};

void check(std::uint32_t first, std::uint32_t last, Worst& worst) {
  long double float_error = 0.0L;
  long double double_error = 0.0L;
  std::uint64_t failures = 0;
  for (std::uint32_t bits = first; bits < last; ++bits) {
    const float x = std::bit_cast<float>(bits);
    const double d = std::tanh(static_cast<double>(x));
    const float f = physics::dtanh(x);
    if (x >= 9.5f) {
      if (f != 1.0f) {
        ++failures;
        std::printf("tanh(%a) rounds to %a, not 1\n", static_cast<double>(x),
                    static_cast<double>(f));
      }
      continue;
    }
    const long double t = std::tanh(static_cast<long double>(x));
    if (t == 0.0L) {
      if (f != 0.0f || d != 0.0) ++failures;
      continue;
    }
    const long double fe = std::fabs(static_cast<long double>(f) - t) / t;
    const long double de = std::fabs(static_cast<long double>(d) - t) / t;
    if (fe > float_error) float_error = fe;
    if (de > double_error) double_error = de;
    if (fe > 0x1p-23L || de > 0x1p-40L) {
      ++failures;
      std::printf("tanh(%a): float %a, double %a\n", static_cast<double>(x),
                  static_cast<double>(f), d);
    }
  }
  const std::lock_guard<std::mutex> hold(worst.lock);
  if (float_error > worst.float_error) worst.float_error = float_error;
  if (double_error > worst.double_error) worst.double_error = double_error;
  worst.failures += failures;
}

}  // namespace

int main() {
  // Non-negative floats, 0 to infinity, in order of their bits.
  const std::uint32_t end = std::bit_cast<std::uint32_t>(HUGE_VALF) + 1;
  unsigned threads = std::thread::hardware_concurrency();
  if (threads == 0 || threads > 2) threads = 2;
  Worst worst;
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t) {
    const auto first = static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(end) * t / threads);
    const auto last = static_cast<std::uint32_t>(
        static_cast<std::uint64_t>(end) * (t + 1) / threads);
    pool.emplace_back(check, first, last, std::ref(worst));
  }
  for (auto& t : pool) t.join();
  std::printf(
      "every float from 0 to infinity: largest error %.3Lg float roundings "
      "(of 2^-24), %.3Lg double roundings (of 2^-53); %llu failures\n",
      worst.float_error * 0x1p24L, worst.double_error * 0x1p53L,
      static_cast<unsigned long long>(worst.failures));
  return worst.failures == 0 ? 0 : 1;
}

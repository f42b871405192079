#pragma once

#include <cmath>

namespace physics {

// Single-precision pi; a full turn is always formed as pi + pi.
inline constexpr float pi = 3.1415927f;

// The transcendental functions of single-precision quantities: evaluated in
// double from the float argument and rounded back to float before use, so
// that results do not depend on the float overloads of the library.
inline float dpow(float x, float y) {
  return static_cast<float>(
      std::pow(static_cast<double>(x), static_cast<double>(y)));
}
inline float dsqrt(float x) {
  return static_cast<float>(std::sqrt(static_cast<double>(x)));
}
inline float dtanh(float x) {
  return static_cast<float>(std::tanh(static_cast<double>(x)));
}
inline float dsinh(float x) {
  return static_cast<float>(std::sinh(static_cast<double>(x)));
}

}  // namespace physics

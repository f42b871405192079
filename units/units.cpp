#include "morvelstandrik/units/units.hpp"

#include <array>
#include <cmath>
#include <cstddef>

namespace units {
namespace {

// Each factor is a ratio of integers that doubles hold exactly (a knot is
// 1852 m an hour, a mile 1609.344 m, a foot 0.3048 m, a fathom six feet),
// so the division gives the double nearest the exact factor.
constexpr Unit kUnits[] = {
    {"kt", Quantity::wind, 1.0, 1.0},
    {"m/s", Quantity::wind, 3600.0 / 1852.0, 1852.0 / 3600.0},
    {"km/h", Quantity::wind, 1000.0 / 1852.0, 1852.0 / 1000.0},
    {"mph", Quantity::wind, 1609344.0 / 1852000.0, 1852000.0 / 1609344.0},
    {"bft", Quantity::wind, 0.0, 0.0},
    {"km", Quantity::fetch, 1.0, 1.0},
    {"nmi", Quantity::fetch, 1852.0 / 1000.0, 1000.0 / 1852.0},
    {"mi", Quantity::fetch, 1609344.0 / 1000000.0, 1000000.0 / 1609344.0},
    {"m", Quantity::depth, 1.0, 1.0},
    {"ft", Quantity::depth, 3048.0 / 10000.0, 10000.0 / 3048.0},
    {"fathom", Quantity::depth, 18288.0 / 10000.0, 10000.0 / 18288.0},
    {"m", Quantity::height, 1.0, 1.0},
    {"ft", Quantity::height, 3048.0 / 10000.0, 10000.0 / 3048.0},
};

constexpr std::string_view kQuantityNames[] = {"wind", "fetch", "depth",
                                               "height"};

// Whole-knot limits of each force; the means are exact in a float.
constexpr Force kScale[] = {
    {0, 0, 0, 0.0f},     {1, 1, 3, 2.0f},     {2, 4, 6, 5.0f},
    {3, 7, 10, 8.5f},    {4, 11, 16, 13.5f},  {5, 17, 21, 19.0f},
    {6, 22, 27, 24.5f},  {7, 28, 33, 30.5f},  {8, 34, 40, 37.0f},
    {9, 41, 47, 44.0f},  {10, 48, 55, 51.5f}, {11, 56, 63, 59.5f},
    {12, 64, -1, 64.0f},
};

bool beaufort(const Unit& u) {
  return u.factor == 0.0;
}

constexpr std::string_view kNotFinite = "is not a finite number";

// The one rounding of every conversion.
Conversion times(double value, double factor) {
  if (!std::isfinite(value)) return {0.0f, kNotFinite};
  const float product = static_cast<float>(value * factor);
  if (!std::isfinite(product)) return {0.0f, kNotFinite};
  return {product, {}};
}

}  // namespace

std::span<const Unit> table() {
  return kUnits;
}

std::string_view quantity_name(Quantity q) {
  return kQuantityNames[static_cast<std::size_t>(q)];
}

const Unit& engine_unit(Quantity q) {
  for (const Unit& u : kUnits) {
    if (u.quantity == q) return u;
  }
  return kUnits[0];  // not reached: every quantity has its units
}

const Unit* find(Quantity q, std::string_view name) {
  for (const Unit& u : kUnits) {
    if (u.quantity == q && u.name == name) return &u;
  }
  return nullptr;
}

std::string allowed(Quantity q) {
  std::string names;
  std::string_view last;
  for (const Unit& u : kUnits) {
    if (u.quantity != q) continue;
    if (!last.empty()) {
      if (!names.empty()) names += ", ";
      names += last;
    }
    last = u.name;
  }
  if (!names.empty()) names += " or ";
  names += last;
  return names;
}

std::span<const Force> beaufort_scale() {
  return kScale;
}

Conversion to_engine(const Unit& u, double value) {
  if (!beaufort(u)) return times(value, u.factor);
  if (!(value >= 0.0 && value <= 12.0) || std::trunc(value) != value) {
    return {0.0f, "is not a whole Beaufort force from 0 to 12"};
  }
  return {kScale[static_cast<std::size_t>(value)].mean_kt, {}};
}

Conversion from_engine(const Unit& u, float value) {
  if (beaufort(u)) return {0.0f, "has no value in Beaufort forces"};
  return times(static_cast<double>(value), u.inverse);
}

}  // namespace units

#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hextant {

/// A reference ellipsoid: its list name, semi-major axis (metres) and inverse flattening.
struct Ellipsoid {
  std::string Name;
  double SemiMajorAxis = 0.0;
  double InverseFlattening = 0.0;
};

/// Number of rows of the ellipsoid table; `EllipsoidCode` runs from 1 to this.
inline constexpr std::int16_t EllipsoidCount = 26;
/// `EllipsoidCode` of "WGS 1984".
inline constexpr std::int16_t Wgs1984Code = 24;

/// The 26 ellipsoids the user can choose, in list order (row i has `EllipsoidCode` i + 1).
std::vector<Ellipsoid> StandardEllipsoids();

/// Row `code` (1-based) of `table`, or nullptr when `code` is outside the table.
const Ellipsoid* FindEllipsoid(const std::vector<Ellipsoid>& table, std::int16_t code) noexcept;

}  // namespace hextant

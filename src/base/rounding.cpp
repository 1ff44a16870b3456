#include "base/rounding.h"

#include <cmath>
#include <limits>

namespace hextant {

double RoundHalfEven(double value) noexcept {
  const double nearest = std::round(value);  // halves away from zero
  if (std::fabs(nearest - value) == 0.5) {
    return 2.0 * std::round(value / 2.0);
  }
  return nearest;
}

std::optional<std::int32_t> RoundHalfEvenToInt32(double value) noexcept {
  const double rounded = RoundHalfEven(value);
  constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
  if (!(rounded >= kLowest && rounded <= kHighest)) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(rounded);
}

}  // namespace hextant

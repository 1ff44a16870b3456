#include "base/angles.h"

#include <cmath>

#include "base/rounding.h"

namespace hextant {

double PackedDmsToRadians(double packed) noexcept {
  const bool negative = packed < 0;
  double value = std::fabs(packed);
  if (value >= 360.0) {
    value -= 360.0 * std::trunc(value / 360.0);
  }
  const double tenThousandths = RoundHalfEven(value * 10000.0);
  const double degrees = std::trunc(tenThousandths / 10000.0);
  const double minutes = std::trunc(std::fmod(tenThousandths, 10000.0) / 100.0);
  const double seconds = std::fmod(tenThousandths, 100.0);
  const double radians = (degrees + minutes / 60.0 + seconds / 3600.0) * WindowPi / 180.0;
  return negative ? -radians : radians;
}

}  // namespace hextant

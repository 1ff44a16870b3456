#pragma once

#include <cstdint>
#include <optional>

namespace hextant {

/// Rounds to the nearest whole number, halves to the even neighbour (2.5 → 2, 3.5 → 4, -2.5 → -2),
/// whatever the floating-point rounding mode.
double RoundHalfEven(double value) noexcept;

/// RoundHalfEven as a 32-bit integer; nullopt when the value is not finite or out of range.
std::optional<std::int32_t> RoundHalfEvenToInt32(double value) noexcept;

}  // namespace hextant

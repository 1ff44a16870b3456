#pragma once

namespace hextant {

/// The value of pi the main window uses to turn spacings into radians.
inline constexpr double WindowPi = 3.141592654;

/// Turns a packed sexagesimal angle DDD.MMSS (degrees, then two digits of minutes and two of
/// seconds after the point) into radians. Whole turns are dropped, the value is rounded to four
/// decimals (halves to even) before it is unpacked, and the sign is kept.
double PackedDmsToRadians(double packed) noexcept;

}  // namespace hextant

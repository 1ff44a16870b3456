#pragma once

namespace hextant {

/// The value of pi the main window and DmsToRad use.
inline constexpr double WindowPi = 3.141592654;
/// The value of pi DegToRad uses.
inline constexpr double DegreePi = 3.14159265359;

/// Turns a packed sexagesimal angle DDD.MMSS (degrees, then two digits of minutes and two of
/// seconds after the point) into radians. Whole turns are dropped, the value is rounded to four
/// decimals (halves to even) before it is unpacked, and the sign is kept.
double PackedDmsToRadians(double packed) noexcept;

/// Decimal degrees to radians, with pi = 3.14159265359.
constexpr double DegToRad(double degrees) noexcept {
  return degrees * (DegreePi / 180.0);
}

/// Degrees, minutes and seconds to radians, with pi = 3.141592654. The parts are added as they
/// are: a negative degree part does not make the minutes negative (-3° 30' gives -2.5°).
constexpr double DmsToRad(double degrees, double minutes, double seconds) noexcept {
  return (degrees + minutes / 60.0 + seconds / 3600.0) * (WindowPi / 180.0);
}

}  // namespace hextant

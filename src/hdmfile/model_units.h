#pragma once

// The units in which a user reads a model's positions: degrees for a geographical model, metres
// for a grid model, and the text of such a position.
//
// A geographical model holds radians, turned from degrees with one of two values of pi: the
// window, the text readers and the sexagesimal routines take 3.141592654, the grid files (and
// DegToRad's 3.14159265359, within 1e-13) the exact value. Read back with the other value, 35.25°
// comes out as 35.250000004602697. The file does not say which was used; the header's positions
// and spacings do, as they fall on round angles with the right one only.

#include <string>

#include "hdm_reader.h"

namespace hdm {

/// Pi as the window and the text readers turn degrees into radians.
inline constexpr double kRoundedPi = 3.141592654;

/// Stored units per user unit: for a geographical model the radians per degree, π/180 with pi as
/// 3.141592654 or as the exact value, whichever puts the first and last nodes and the spacings
/// nearer whole milliseconds of arc (3.141592654 when neither does); 1 for a grid model (metres).
double ModelUnitsPerUserUnit(const HdmModel& header) noexcept;

/// `value` as the nearest decimal with at most nine decimals, without trailing zeros or a
/// trailing point ("35.25", "-0.5", "1000"; "0" for a value that rounds to zero). A value of
/// 1e15 or more in size, beyond any position, is written with 17 significant digits.
std::string DecimalText(double value);

/// The most characters DecimalText writes.
inline constexpr std::size_t kDecimalTextRoom = 32;
/// Writes DecimalText(value) at `at`, which has room for kDecimalTextRoom characters; returns
/// the end of what was written.
char* WriteDecimal(char* at, double value) noexcept;

/// The double nearest to DecimalText(value): 35.25 for 35.250000000000007.
double NearestDecimal(double value) noexcept;

}  // namespace hdm

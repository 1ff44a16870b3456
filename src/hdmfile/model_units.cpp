#include "model_units.h"

#include <charconv>
#include <cmath>
#include <numbers>

namespace hdm {
namespace {

constexpr double kMilliArcSecondsPerDegree = 3600.0 * 1000.0;

// How far the header's positions and spacings, turned into degrees with `pi`, lie from whole
// milliseconds of arc, summed.
double OffRoundAngles(const HdmModel& h, double pi) noexcept {
  double sum = 0;
  for (double radians : {h.firstX, h.firstY, h.lastX, h.lastY, h.spacingX, h.spacingY}) {
    const double mas = radians / (pi / 180) * kMilliArcSecondsPerDegree;
    sum += std::abs(mas - std::round(mas));
  }
  return sum;
}

}  // namespace

double ModelUnitsPerUserUnit(const HdmModel& header) noexcept {
  if (header.coordinateType != 1) {
    return 1.0;
  }
  const bool exact = OffRoundAngles(header, std::numbers::pi) < OffRoundAngles(header, kRoundedPi);
  return (exact ? std::numbers::pi : kRoundedPi) / 180;
}

char* WriteDecimal(char* at, double value) noexcept {
  char* const end = at + kDecimalTextRoom;
  if (!(std::abs(value) < 1e15)) {
    return std::to_chars(at, end, value, std::chars_format::general, 17).ptr;
  }
  char* stop = std::to_chars(at, end, value, std::chars_format::fixed, 9).ptr;
  while (stop[-1] == '0') {
    --stop;
  }
  if (stop[-1] == '.') {
    --stop;
  }
  if (stop - at == 2 && at[0] == '-' && at[1] == '0') {
    at[0] = '0';  // a negative value that rounds to zero
    return at + 1;
  }
  return stop;
}

std::string DecimalText(double value) {
  char text[kDecimalTextRoom];
  return std::string(text, WriteDecimal(text, value));
}

double NearestDecimal(double value) noexcept {
  char text[kDecimalTextRoom];
  const char* end = WriteDecimal(text, value);
  double nearest = value;
  std::from_chars(text, end, nearest);
  return nearest;
}

}  // namespace hdm

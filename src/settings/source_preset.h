#pragma once

// What a source format fixes on the main window when it is chosen: values, and which of them the
// format sets.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace hextant {

enum class SpacingPresetKind { Untouched, DegreesMinutesSeconds, Decimal };
enum class HemispherePreset { Untouched, NorthLocked, NoneLocked };

struct SourcePreset {
  std::optional<std::int16_t> EllipsoidPosition;
  std::optional<int> CoordinateType;  // option index: 0 Geographical, 1 Grid
  std::optional<std::int16_t> InterpolationPosition;
  std::optional<int> LinearUnit;   // option index
  std::optional<int> AngularUnit;  // option index
  SpacingPresetKind SpacingKind = SpacingPresetKind::Untouched;
  // Row 0 (easting/longitude) then row 1: degrees, minutes, seconds; or the decimal text in [0].
  std::array<std::array<std::string_view, 3>, 2> Spacing{};
  std::optional<bool> CodeChecked;
  std::optional<std::string_view> CodeText;
  HemispherePreset Hemisphere = HemispherePreset::Untouched;
  bool HemisphereBeforeCode = false;
};

}  // namespace hextant

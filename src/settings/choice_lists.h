#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace hextant {

/// Positions in the source format list (readers/source_formats.h); the position is
/// `SourceFormat`.
enum SourceFormatPosition : std::int16_t {
  FormatImportWizard = 0,
  FormatNetherlands = 1,
  FormatNorway = 2,
  FormatSwitzerland = 3,
  FormatItaly = 4,
  FormatLaReunion = 5,
  FormatNorwayNn2000 = 6,
  FormatCatalunya = 7,
  FormatPoland = 8,
  FormatGridFile = 9,
};

/// The interpolation list, in list order; the position is `InterpolationIndex`.
inline constexpr std::array<std::string_view, 3> InterpolationNames{"4 Points", "9 Points",
                                                                    "16 Points"};

/// Indexes of the main window's option groups.
enum CoordinateTypeOption : int { OptionGeographical = 0, OptionGrid = 1 };
enum AngularUnitOption : int {
  UnitRadians = 0,
  UnitGons = 1,
  UnitDecimalDegrees = 2,
  UnitSexagesimal = 3
};
enum LinearUnitOption : int { UnitMetres = 0, UnitInternationalFeet = 1, UnitUsFeet = 2 };

/// List position of "WGS 1984" in the ellipsoid list.
inline constexpr std::int16_t Wgs1984Position = 23;

}  // namespace hextant

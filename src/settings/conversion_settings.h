#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "base/point_list.h"
#include "settings/ellipsoid.h"

namespace hextant {

/// `CoordinateType` codes.
inline constexpr std::int16_t Geographical = 1;
inline constexpr std::int16_t Grid = 2;

/// `ResolutionCode` values: separations stored in millimetres or centimetres.
inline constexpr std::int16_t ResolutionMillimetres = 1;
inline constexpr std::int16_t ResolutionCentimetres = 2;

/// Number of entries of `ColumnRoles` (entry 0 carries no role).
inline constexpr std::size_t ColumnRoleCount = 11;

/// The roles a column of a generic text source can take: the index into `ColumnRoles`.
enum ColumnRole : std::int16_t {
  RoleX = 1,
  RoleY = 2,
  RoleSeparation = 3,
  RoleCode = 4,
  RoleLongitudeDegrees = 5,
  RoleLongitudeMinutes = 6,
  RoleLongitudeSeconds = 7,
  RoleLatitudeDegrees = 8,
  RoleLatitudeMinutes = 9,
  RoleLatitudeSeconds = 10,
};

/// The one record of settings and run state shared by the windows, the readers and the
/// conversion run. Every field starts zeroed; the ellipsoid table is built when the main window is
/// created. Coordinates and spacings are radians for a geographical model and the chosen linear
/// unit for a grid model.
struct ConversionSettings {
  // Held in the record.
  std::vector<Ellipsoid> EllipsoidTable;  // codes 1..26 at positions 0..25; empty until built
  std::int16_t EllipsoidCode = 0;         // 1..26; 24 = "WGS 1984"
  bool ReadingActive = false;             // clearing it asks a running read to stop
  std::int16_t CoordinateType = 0;        // Geographical or Grid
  bool CodeFilterOn = false;
  std::string CodeFilter;
  double SpacingX = 0.0;
  double SpacingY = 0.0;
  std::int16_t StartLine = 0;  // 1-based first data line of a generic text source
  std::string Delimiter;       // a field separator, or a comma-separated width list
  std::filesystem::path SourceFile;
  std::string InterpolationText;  // "4 Points", "9 Points" or "16 Points"
  bool MergeDelimiters = false;
  std::array<std::int16_t, ColumnRoleCount> ColumnRoles{};  // source column per role, -1 none
  std::int16_t SelectedColumn = 0;
  std::int16_t GridLayoutForced = -1;  // a grid file's layout named by the user; -1: by content
  hextant::PointList PointList;

  // Captured from the main window on Read.
  std::int16_t SourceFormat = 0;        // position in the source format list, 0..8
  std::int16_t InstrumentType = 0;      // 0 "Series R", 1 "Series Q"
  std::int16_t InterpolationIndex = 0;  // 0 "4 Points", 1 "9 Points", 2 "16 Points"
  std::int16_t LocalSide = 0;           // 0 unchecked, 1 checked
  bool SouthernHemisphere = false;
  std::int16_t AngularUnit = 0;  // 0 radians, 1 gons, 2 decimal degrees, 3 sexagesimal
  std::int16_t LinearUnit = 0;   // 0 metres, 1 international feet, 2 US feet
};

/// Fills `EllipsoidTable` with the 26 standard rows, replacing what it held.
void BuildEllipsoidTable(ConversionSettings& settings);

}  // namespace hextant

#include "wizard/column_roles.h"

#include <array>
#include <vector>

namespace hextant {
namespace {

constexpr std::int16_t kSexagesimal = 3;

bool HasColumn(const ConversionSettings& settings, std::int16_t role) {
  return settings.ColumnRoles[static_cast<std::size_t>(role)] != -1;
}

}  // namespace

std::string RoleName(std::int16_t role, std::int16_t coordinateType) {
  const bool geographical = coordinateType == Geographical;
  switch (role) {
    case RoleX:
      return geographical ? "Longitude" : "Grid Easting";
    case RoleY:
      return geographical ? "Latitude" : "Grid Northing";
    case RoleSeparation:
      return "Separation";
    case RoleCode:
      return "Code";
    default:
      break;
  }
  constexpr std::array<const char*, 6> kSexagesimalNames{
      "Long Degrees", "Long Minutes", "Long Seconds", "Lat Degrees", "Lat Minutes", "Lat Seconds"};
  if (role >= RoleLongitudeDegrees && role <= RoleLatitudeSeconds) {
    return kSexagesimalNames[static_cast<std::size_t>(role - RoleLongitudeDegrees)];
  }
  return {};
}

bool CheckColumnRoles(const ConversionSettings& settings, MessageBoxes& messages) {
  const bool sexagesimal = settings.AngularUnit == kSexagesimal;
  const std::int16_t first = sexagesimal ? RoleLongitudeDegrees : RoleX;
  const std::int16_t last = sexagesimal ? RoleLatitudeSeconds : RoleY;
  std::vector<std::string> missing;
  auto need = [&](std::int16_t role) {
    if (!HasColumn(settings, role)) {
      missing.push_back(RoleName(role, settings.CoordinateType));
    }
  };
  for (std::int16_t role = first; role <= last; ++role) {
    need(role);
  }
  need(RoleSeparation);
  if (missing.empty()) {
    return true;
  }
  Message warning{"Warning", "Assigning " + missing.front() + " to a column", MessageIcon::Critical,
                  MessageButtons::Ok};
  if (missing.size() > 1) {
    warning.Detail = "Roles without a column: " + missing.front();
    for (std::size_t i = 1; i < missing.size(); ++i) {
      warning.Detail += ", " + missing[i];
    }
  }
  messages.Show(warning);
  return false;
}

}  // namespace hextant

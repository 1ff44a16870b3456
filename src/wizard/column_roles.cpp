#include "wizard/column_roles.h"

#include <array>

namespace hextant {
namespace {

constexpr std::int16_t kSexagesimal = 3;

bool HasColumn(const ConversionSettings& settings, std::int16_t role) {
  return settings.ColumnRoles[static_cast<std::size_t>(role)] != -1;
}

void Warn(MessageBoxes& messages, std::int16_t role, std::int16_t coordinateType) {
  messages.Show(Message{"Warning", "Assigning " + RoleName(role, coordinateType) + " to a column",
                        MessageIcon::Critical, MessageButtons::Ok});
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
  bool result = true;
  const bool sexagesimal = settings.AngularUnit == kSexagesimal;
  const std::int16_t first = sexagesimal ? RoleLongitudeDegrees : RoleX;
  const std::int16_t last = sexagesimal ? RoleLatitudeSeconds : RoleY;
  for (std::int16_t role = first; role <= last; ++role) {
    if (!HasColumn(settings, role)) {
      Warn(messages, role, settings.CoordinateType);
      result = false;
      break;
    }
  }
  if (!HasColumn(settings, RoleSeparation)) {
    Warn(messages, RoleSeparation, settings.CoordinateType);
    result = false;
  }
  return result;
}

}  // namespace hextant

#pragma once

// Which column of a generic text source holds which value, and the check that every value the
// layout needs has a column.

#include <cstdint>
#include <string>

#include "platform/message_boxes.h"
#include "settings/conversion_settings.h"

namespace hextant {

/// The name of a role in headers and warnings: "Longitude"/"Latitude" for geographical and
/// "Grid Easting"/"Grid Northing" for grid coordinates, "Separation", "Code", "Long Degrees" …
/// "Lat Seconds"; empty for any other number.
std::string RoleName(std::int16_t role, std::int16_t coordinateType);

/// True when every role the layout needs has a column: the six degree, minute and second roles
/// in the sexagesimal layout, X and Y otherwise, and the separation. Otherwise shows one warning,
/// "Assigning NAME to a column" for the first missing role, whose detail lists every missing one.
bool CheckColumnRoles(const ConversionSettings& settings, MessageBoxes& messages);

}  // namespace hextant

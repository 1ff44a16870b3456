#include "settings/conversion_settings.h"

namespace hextant {

void BuildEllipsoidTable(ConversionSettings& settings) {
  settings.EllipsoidTable = StandardEllipsoids();
}

}  // namespace hextant

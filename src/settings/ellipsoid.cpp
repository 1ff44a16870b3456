#include "settings/ellipsoid.h"

namespace hextant {
namespace {

struct EllipsoidRow {
  std::string_view name;
  double semiMajorAxis;
  double inverseFlattening;
};

// The values stand exactly as the office software lists them (e.g. 298.25722356 for WGS 1984),
// cut names included.
constexpr std::array<EllipsoidRow, EllipsoidCount> kRows{{
    {"ATS - 77", 6378135.0, 298.257},
    {"Airy", 6377563.396, 299.3249646},
    {"Australian National", 6378160.0, 298.25},
    {"Beijing-54", 6378245.0, 298.3},
    {"Bessel", 6377397.155, 299.15281285},
    {"Bessel 1841", 6377397.155, 299.15281285},
    {"Clarke 1866", 6378206.4, 294.9786982},
    {"Clarke 1880", 6378249.145, 293.465},
    {"Everest", 6377276.345, 300.8017},
    {"Everest Brunei/E.Malaysia", 6377298.556, 300.8017},
    {"Everest W.Malaysia/Singap", 6377304.063, 300.8017},
    {"Fisher 1960 (Mercury)", 6378166.0, 298.3},
    {"Fisher 1960 (South Asia)", 6378155.0, 298.3},
    {"Fisher 1968", 6378150.0, 298.3},
    {"GRS 1967", 6378160.0, 298.24716743},
    {"GRS 1980", 6378137.0, 298.25722210088},
    {"Helmert 1906", 6378200.0, 298.3},
    {"Hough 1956", 6378270.0, 297.0},
    {"International (Hayford)", 6378388.0, 297.0},
    {"Krassowski", 6378245.0, 298.3},
    {"Modified Airy", 6377340.189, 299.3249646},
    {"South American 1969", 6378160.0, 298.25},
    {"WGS 1972", 6378135.0, 298.26},
    {"WGS 1984", 6378137.0, 298.25722356},
    {"Xi'an-80", 6378140.0, 298.257},
    {"Clarke 1880 IGN", 6378249.2, 293.46602},
}};

}  // namespace

std::vector<Ellipsoid> StandardEllipsoids() {
  std::vector<Ellipsoid> table;
  table.reserve(kRows.size());
  for (const auto& row : kRows) {
    table.push_back(Ellipsoid{std::string(row.name), row.semiMajorAxis, row.inverseFlattening});
  }
  return table;
}

const Ellipsoid* FindEllipsoid(const std::vector<Ellipsoid>& table, std::int16_t code) noexcept {
  if (code < 1 || static_cast<std::size_t>(code) > table.size()) {
    return nullptr;
  }
  return &table[static_cast<std::size_t>(code) - 1];
}

}  // namespace hextant

#include "base/grid_lattice.h"

#include <cmath>

namespace hextant {
namespace {

constexpr double kTolerance = 1e-3;  // of a spacing

// The lattice index of `value` from `origin`, and whether it lies within the tolerance of it.
bool OnLattice(double value, double origin, double spacing, double& index) noexcept {
  const double steps = (value - origin) / spacing;
  index = std::round(steps);
  return std::fabs(steps - index) <= kTolerance;
}

}  // namespace

LatticeReport CheckLattice(const PointList& points, double spacingX, double spacingY) noexcept {
  LatticeReport report;
  const std::int32_t n = points.Count();
  if (n < 1 || !(spacingX > 0 && spacingY > 0) || !std::isfinite(spacingX) ||
      !std::isfinite(spacingY)) {
    return report;
  }
  const GeoidPoint origin = points.Node(1);
  double lastColumn = 0, lastRow = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    const GeoidPoint p = points.Node(i);
    double column = 0, row = 0;
    const bool onX = OnLattice(p.X, origin.X, spacingX, column);
    const bool onY = OnLattice(p.Y, origin.Y, spacingY, row);
    if (!(onX && onY) && report.OffLattice++ == 0) {
      report.FirstOffLattice = i;
    }
    if (i > 1 && column == lastColumn && row == lastRow && report.Duplicates++ == 0) {
      report.FirstDuplicate = i;
    }
    lastColumn = column;
    lastRow = row;
  }
  return report;
}

}  // namespace hextant

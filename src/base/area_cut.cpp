#include "base/area_cut.h"

#include <cmath>

namespace hextant {

std::int32_t CutToArea(PointList& points, const AreaBox& box, double tolerance,
                       double period) noexcept {
  const std::int32_t n = points.Count();
  std::int32_t kept = 0;
  for (std::int32_t i = 1; i <= n; ++i) {
    GeoidPoint p = points.Node(i);
    if (period > 0 && std::isfinite(p.X)) {
      p.X +=
          std::ceil((box.West - tolerance - p.X) / period) * period;  // the first turn east of West
    }
    const bool inside = p.X >= box.West - tolerance && p.X <= box.East + tolerance &&
                        p.Y >= box.South - tolerance && p.Y <= box.North + tolerance;
    if (inside) {
      points.SetNode(++kept, p);
    }
  }
  points.Resize(kept);
  return kept;
}

}  // namespace hextant

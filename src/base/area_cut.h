#pragma once

// The cut of a model to a project area: only the nodes inside a box are kept.

#include <cstdint>

#include "base/point_list.h"

namespace hextant {

/// A box in the unit of the nodes' coordinates (radians or metres); West <= East, South <= North.
struct AreaBox {
  double West = 0.0, South = 0.0, East = 0.0, North = 0.0;
};

/// Keeps the nodes of `points` that lie inside `box` or on its boundary, `tolerance` counting as
/// on it, in their order; returns how many are kept.
std::int32_t CutToArea(PointList& points, const AreaBox& box, double tolerance) noexcept;

}  // namespace hextant

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
/// on it, in their order; returns how many are kept. With a `period` (2π for longitudes in
/// radians, 0 for none), a node whose X lies a whole number of periods from the box is inside
/// too, and its X is moved into the box, so that a box across the 180° meridian (or 0°) takes
/// the nodes of both sides.
std::int32_t CutToArea(PointList& points, const AreaBox& box, double tolerance,
                       double period = 0.0) noexcept;

}  // namespace hextant

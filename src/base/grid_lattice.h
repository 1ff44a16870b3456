#pragma once

// A closer look at a sorted grid than the regularity test's count: whether every node lies on
// the lattice that the first node and the spacings define, and whether two share a place.

#include <cstdint>

#include "base/point_list.h"

namespace hextant {

struct LatticeReport {
  std::int64_t OffLattice = 0;       // nodes more than a thousandth of a spacing off the lattice
  std::int32_t FirstOffLattice = 0;  // the first such node (1-based, sorted order; 0: none)
  std::int64_t Duplicates = 0;       // nodes at the grid place of the node before them
  std::int32_t FirstDuplicate = 0;   // the first such node (0: none)
};

/// Checks nodes 1..n of a list sorted into grid order against the lattice of node 1 and the
/// spacings (in the unit of the coordinates). Spacings that are not positive numbers give an
/// empty report.
LatticeReport CheckLattice(const PointList& points, double spacingX, double spacingY) noexcept;

}  // namespace hextant

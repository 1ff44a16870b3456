#pragma once

// Puts a model's nodes into the order in which the model file stores them and counts its rows
// and columns. The sort is in place and uses no memory that grows with the node count.

#include <cstdint>

#include "base/point_list.h"

namespace hextant {

/// Nodes whose Y values differ from their neighbour's by at most this much lie on one grid row
/// (unit of Y: radians or metres; 1e-6 rad is about 0.2″).
inline constexpr double RowTolerance = 0.000001;

/// Sort key fields of SortRange.
inline constexpr std::int16_t KeyX = 0;
inline constexpr std::int16_t KeyY = 1;

/// Sorts nodes 1..n by Y ascending; nodes whose Y values chain within RowTolerance of their
/// neighbour form one grid row, sorted by X ascending. Row 0 is not touched. Not stable. Input
/// already in order, rows given north to south, and rows that are a rotation of their order
/// (longitudes 0..360) take O(n); the rest is sorted in place.
void SortPoints(PointList& points) noexcept;

/// Sorts nodes first..last (1-based, inclusive) ascending by field `keyField` (KeyX or KeyY),
/// moving whole nodes; a non-recursive quicksort with the middle node as pivot.
void SortRange(PointList& points, std::int32_t first, std::int32_t last,
               std::int16_t keyField) noexcept;

/// Number of grid rows from the first and last node's Y and the row spacing:
/// (lastY − firstY) / spacingY + 1, rounded half to even. 0 when that is not a 32-bit number.
std::int32_t RowCount(double firstY, double lastY, double spacingY) noexcept;

/// Number of grid columns from the first and last node's X and the column spacing, as RowCount.
std::int32_t ColumnCount(double firstX, double lastX, double spacingX) noexcept;

/// True when n nodes fill rows × columns exactly (n / rows − columns is 0 in double arithmetic).
bool IsRegularGrid(std::int32_t n, std::int32_t rows, std::int32_t columns) noexcept;

}  // namespace hextant

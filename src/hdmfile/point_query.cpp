#include "point_query.h"

#include <cmath>

namespace hdm {

bool IsGlobal(const HdmModel& header, std::int32_t& period) noexcept {
  const std::int32_t columns = header.Columns();
  if (header.coordinateType != 1 || columns < 2) {
    return false;
  }
  const double circle = 360 * ModelUnitsPerUserUnit(header);
  for (std::int32_t distinct : {columns, columns - 1}) {
    if (std::abs(distinct * header.spacingX - circle) <= kOnNodeTolerance * header.spacingX) {
      period = distinct;
      return true;
    }
  }
  return false;
}

PointQuery::PointQuery(HdmNodes& nodes, Interpolation method) noexcept
    : nodes_(nodes),
      method_(method),
      scale_(ModelUnitsPerUserUnit(nodes.Header())),
      columns_(nodes.Header().Columns()) {
  global_ = IsGlobal(nodes.Header(), period_);
}

bool PointQuery::At(QueryPoint point, std::optional<double>& separation) {
  separation.reset();
  const HdmModel& h = nodes_.Header();
  const double x = point.x * scale_, y = point.y * scale_;
  const auto wy = WeightsAlong(method_, (y - h.firstY) / h.spacingY, h.rows, false);
  if (!wy) {
    return true;
  }
  std::optional<AxisWeights> wx;
  if (global_) {
    wx = WeightsAlong(method_, (x - h.firstX) / h.spacingX, period_, true);
  } else {
    // A regional geographical model may lie on either side of the antimeridian.
    const double turns[] = {0.0, -360 * scale_, 360 * scale_};
    for (double turn : turns) {
      wx = WeightsAlong(method_, (x + turn - h.firstX) / h.spacingX, columns_, false);
      if (wx || h.coordinateType != 1) {
        break;
      }
    }
  }
  if (!wx) {
    return true;
  }
  std::array<std::optional<double>, 16> values;
  if (!ReadWindow(*wx, *wy, values)) {
    return false;
  }
  separation = Combine(*wx, *wy, values);
  return true;
}

bool PointQuery::ReadWindow(const AxisWeights& x, const AxisWeights& y,
                            std::array<std::optional<double>, 16>& values) {
  const HdmModel& h = nodes_.Header();
  std::array<std::int16_t, 4> codes{};
  const bool inside = x.first >= 0 && x.first + x.size <= columns_;
  for (int j = 0; j < y.size; ++j) {
    const std::int32_t row = y.first + j;
    if (inside) {
      if (!nodes_.ReadCodes(static_cast<std::int64_t>(row) * columns_ + x.first, x.size,
                            codes.data())) {
        return false;
      }
    } else {
      for (int i = 0; i < x.size; ++i) {
        const std::int32_t column = ((x.first + i) % period_ + period_) % period_;
        if (!nodes_.ReadNode(row, column, codes[static_cast<std::size_t>(i)])) {
          return false;
        }
      }
    }
    for (int i = 0; i < x.size; ++i) {
      values[static_cast<std::size_t>(4 * j + i)] =
          h.SeparationOf(codes[static_cast<std::size_t>(i)]);
    }
  }
  return true;
}

}  // namespace hdm

#pragma once

#include <cstdint>

#include "base/status.h"

namespace hextant {

/// Where a grid layout hands the nodes it reads.
class GridNodeSink {
 public:
  virtual ~GridNodeSink() = default;
  /// Grid row `row` (0 is the southern row): its values from west to east, in metres; NaN is a
  /// node without value. The values are valid during the call only.
  virtual Status Row(std::int32_t row, const double* values) = 0;
  /// One node of a sparse file: its position in the header's unit (degrees or metres) and its
  /// value in metres (NaN: no value).
  virtual Status Point(double x, double y, double value) = 0;
  /// `consumed` bytes of the file have been read.
  virtual void Progress(std::uint64_t consumed) = 0;
};

}  // namespace hextant

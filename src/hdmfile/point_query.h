#pragma once

// The separation of a model at any point: the grid position of the point, the nodes around it
// read from the model (by random access, a few nodes at a time) and the interpolation of
// interpolation.h. Longitudes wrap across the antimeridian for a model that covers the globe.

#include <optional>
#include <string>

#include "hdm_reader.h"
#include "interpolation.h"
#include "model_units.h"

namespace hdm {

/// A point in the units a user gives: degrees for a geographical model (longitudes -180..180 or
/// 0..360 alike), metres for a grid model.
struct QueryPoint {
  double x = 0;
  double y = 0;
};

/// True when the columns of a geographical model close the circle of longitude: `columns`
/// spacings make 360° (with the model's own pi, model_units.h), or `columns - 1` do and the last
/// column repeats the first. `period` gets the number of distinct columns.
bool IsGlobal(const HdmModel& header, std::int32_t& period) noexcept;

class PointQuery {
 public:
  /// Queries `nodes`, a regular model (HdmModel::IsRegular), with `method`.
  PointQuery(HdmNodes& nodes, Interpolation method) noexcept;

  /// The separation at `point` in metres into `separation`: nullopt when the point lies outside
  /// the grid or a node it needs has no value. False only when the nodes cannot be read (Error()).
  bool At(QueryPoint point, std::optional<double>& separation);
  const std::string& Error() const noexcept { return nodes_.Error(); }
  bool Global() const noexcept { return global_; }

 private:
  bool ReadWindow(const AxisWeights& x, const AxisWeights& y,
                  std::array<std::optional<double>, 16>& values);

  HdmNodes& nodes_;
  Interpolation method_;
  double scale_ = 1;  // stored units per user unit
  std::int32_t columns_ = 0;
  std::int32_t period_ = 0;
  bool global_ = false;
};

}  // namespace hdm

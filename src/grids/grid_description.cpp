#include "grids/grid_description.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "text/text_parsing.h"

namespace hextant {
namespace {

std::string Coordinate(double value, bool geographical) {
  return NumberText(value) + (geographical ? "\xC2\xB0" : " m");
}

}  // namespace

double ValueInMetres(const GridDescription& grid, double value) noexcept {
  const double tolerance = 1e-9 * std::max(1.0, std::abs(grid.NoData));
  if ((grid.HasNoData && std::abs(value - grid.NoData) <= tolerance) || !std::isfinite(value)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return value * grid.ValueFactor;
}

std::string LayoutText(const GridDescription& grid) {
  if (grid.Layout == GridLayout::Gtx) {
    return "GTX (" + grid.Version + ")";
  }
  return "ISG " + grid.Version + (grid.Sparse ? " (sparse)" : "");
}

std::vector<std::string> DescribeGrid(const GridDescription& grid) {
  const bool geo = grid.Geographical;
  const auto axis = [&](const char* name, double first, double last, double spacing) {
    return std::string(name) + " " + Coordinate(first, geo) + " to " + Coordinate(last, geo) +
           ", every " + Coordinate(spacing, geo);
  };
  return {
      LayoutText(grid) + (grid.ModelName.empty() ? "" : ", model " + grid.ModelName),
      std::string(geo ? "Geographical" : "Projected") + " coordinates in " + grid.CoordinateUnits,
      axis(geo ? "Longitude" : "Easting", grid.West, grid.East(), grid.SpacingX),
      axis(geo ? "Latitude" : "Northing", grid.South, grid.North(), grid.SpacingY),
      std::to_string(grid.Rows) + " rows \xC3\x97 " + std::to_string(grid.Columns) + " columns",
      "Values in " + grid.ValueUnits +
          (grid.HasNoData ? "; no data: " + NumberText(grid.NoData)
                          : std::string("; no no-data value")),
  };
}

}  // namespace hextant

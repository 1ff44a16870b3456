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

void TakeCoordinatesFromExtent(GridDescription& grid) noexcept {
  grid.Geographical =
      grid.West >= -360 && grid.East() <= 360 && grid.South >= -90 && grid.North() <= 90;
  grid.CoordinateUnits = grid.Geographical ? "deg" : "meters";
}

double ValueInMetres(const GridDescription& grid, double value) noexcept {
  // The no-value as a float32 matches: GDAL prints a float32 grid's values to their float
  // precision and the no-value from its double.
  const double tolerance = 2e-7 * std::max(1.0, std::abs(grid.NoData));
  const bool noData =
      grid.HasNoData && (std::abs(value - grid.NoData) <= tolerance ||
                         (grid.NoDataEitherSign && std::abs(value + grid.NoData) <= tolerance));
  if (noData || value >= grid.BlankFrom || !std::isfinite(value)) {
    return std::numeric_limits<double>::quiet_NaN();
  }
  return value * grid.ValueFactor + grid.ValueOffset;
}

std::string LayoutText(const GridDescription& grid) {
  switch (grid.Layout) {
    case GridLayout::Isg:
      return "ISG " + grid.Version + (grid.Sparse ? " (sparse)" : "");
    case GridLayout::Gtx:
      return "GTX (" + grid.Version + ")";
    case GridLayout::Ngs:
      return "NGS binary grid (" + grid.Version + ")";
    case GridLayout::Byn:
      return "BYN (" + grid.Version + ")";
    case GridLayout::EsriAscii:
      return "ESRI ASCII grid (" + grid.Version + ")";
    case GridLayout::Surfer:
      return "Surfer " + grid.Version + " grid";
    case GridLayout::GeoTiff:
      return "GeoTIFF (" + grid.Version + ")";
  }
  return {};
}

std::vector<std::string> DescribeGrid(const GridDescription& grid) {
  const bool geo = grid.Geographical;
  const auto axis = [&](const char* name, double first, double last, double spacing) {
    return std::string(name) + " " + Coordinate(first, geo) + " to " + Coordinate(last, geo) +
           ", every " + Coordinate(spacing, geo);
  };
  std::vector<std::string> lines{
      LayoutText(grid) + (grid.ModelName.empty() ? "" : ", model " + grid.ModelName),
      std::string(geo ? "Geographical" : "Projected") + " coordinates in " + grid.CoordinateUnits,
      axis(geo ? "Longitude" : "Easting", grid.West, grid.East(), grid.SpacingX),
      axis(geo ? "Latitude" : "Northing", grid.South, grid.North(), grid.SpacingY),
      std::to_string(grid.Rows) + " rows \xC3\x97 " + std::to_string(grid.Columns) + " columns",
      "Values in " + grid.ValueUnits +
          (grid.HasNoData ? "; no data: " + NumberText(grid.NoData)
                          : std::string("; no no-data value")),
  };
  if (!grid.Remarks.empty()) {
    lines.push_back(grid.Remarks);
  }
  return lines;
}

}  // namespace hextant

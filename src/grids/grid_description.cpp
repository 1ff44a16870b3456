#include "grids/grid_description.h"

#include "text/text_parsing.h"

namespace hextant {
namespace {

std::string Coordinate(double value, bool geographical) {
  return NumberText(value) + (geographical ? "\xC2\xB0" : " m");
}

}  // namespace

std::string LayoutText(const GridDescription& grid) {
  if (grid.Layout == GridLayout::Gtx) {
    return "GTX (" + grid.Version + ")";
  }
  return "ISG " + grid.Version + (grid.Sparse ? " (sparse)" : "");
}

std::vector<std::string> DescribeGrid(const GridDescription& grid) {
  const bool geo = grid.Geographical;
  const char* x = geo ? "Longitude" : "Easting";
  const char* y = geo ? "Latitude" : "Northing";
  std::vector<std::string> lines;
  lines.push_back("Layout: " + LayoutText(grid));
  lines.push_back("Model: " +
                  (grid.ModelName.empty() ? std::string("(not named)") : grid.ModelName));
  lines.push_back(std::string("Coordinates: ") + (geo ? "geographical" : "projected") + ", " +
                  grid.CoordinateUnits);
  lines.push_back(std::string(x) + ": " + Coordinate(grid.West, geo) + " to " +
                  Coordinate(grid.East(), geo));
  lines.push_back(std::string(y) + ": " + Coordinate(grid.South, geo) + " to " +
                  Coordinate(grid.North(), geo));
  lines.push_back("Spacing: " + Coordinate(grid.SpacingX, geo) + " \xC3\x97 " +
                  Coordinate(grid.SpacingY, geo));
  lines.push_back("Nodes: " + std::to_string(grid.Rows) + " rows \xC3\x97 " +
                  std::to_string(grid.Columns) + " columns");
  lines.push_back("Values: " + grid.ValueUnits);
  lines.push_back("No data: " + (grid.HasNoData ? NumberText(grid.NoData) : std::string("none")));
  return lines;
}

}  // namespace hextant

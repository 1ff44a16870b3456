#include "model_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model_units.h"

namespace hdm {

bool SampleRaster(HdmNodes& nodes, int width, int maxHeight, ModelRaster& raster,
                  std::string& error) {
  const HdmModel& h = nodes.Header();
  const std::int32_t rows = h.rows, columns = h.Columns();
  const double scale = 1 / ModelUnitsPerUserUnit(h);
  raster = ModelRaster{};
  raster.geographical = h.coordinateType == 1;
  raster.west = h.firstX * scale;
  raster.south = h.firstY * scale;
  raster.east = raster.west + (columns - 1) * h.spacingX * scale;
  raster.north = raster.south + (rows - 1) * h.spacingY * scale;
  raster.width = std::max(1, width);
  const double aspect = (rows * h.spacingY) / (columns * h.spacingX);
  raster.height = static_cast<int>(
      std::clamp(std::lround(raster.width * aspect), 1L, std::max(1L, long{maxHeight})));
  raster.values.assign(static_cast<std::size_t>(raster.width) * raster.height,
                       std::numeric_limits<float>::quiet_NaN());
  // The node column of each pixel column, and the pixel rows that each node row feeds.
  std::vector<std::int32_t> columnOf(static_cast<std::size_t>(raster.width));
  for (int px = 0; px < raster.width; ++px) {
    columnOf[static_cast<std::size_t>(px)] =
        std::min(columns - 1, static_cast<std::int32_t>((px + 0.5) * columns / raster.width));
  }
  double minimum = std::numeric_limits<double>::infinity(), maximum = -minimum;
  constexpr std::int32_t kBlock = 256;
  std::vector<std::int16_t> codes;
  int py = raster.height - 1;  // the southernmost pixel row first, as the file runs
  const auto rowOfPixel = [&](int pixelRow) {
    const int fromNorth =
        std::min(rows - 1, static_cast<int>((pixelRow + 0.5) * rows / raster.height));
    return rows - 1 - fromNorth;
  };
  for (std::int32_t first = 0; first < rows; first += kBlock) {
    const std::int32_t count = std::min(kBlock, rows - first);
    if (!nodes.ReadRows(first, count, codes)) {
      error = nodes.Error();
      return false;
    }
    for (const std::int16_t code : codes) {
      if (const auto value = h.SeparationOf(code)) {
        minimum = std::min(minimum, *value);
        maximum = std::max(maximum, *value);
      }
    }
    for (; py >= 0 && rowOfPixel(py) < first + count; --py) {
      const std::int16_t* row =
          codes.data() + static_cast<std::size_t>(rowOfPixel(py) - first) * columns;
      float* pixels = raster.values.data() + static_cast<std::size_t>(py) * raster.width;
      for (int px = 0; px < raster.width; ++px) {
        if (const auto value = h.SeparationOf(row[columnOf[static_cast<std::size_t>(px)]])) {
          pixels[px] = static_cast<float>(*value);
        }
      }
    }
  }
  const bool any = minimum <= maximum;
  raster.minimum = any ? minimum : std::numeric_limits<double>::quiet_NaN();
  raster.maximum = any ? maximum : std::numeric_limits<double>::quiet_NaN();
  return true;
}

}  // namespace hdm

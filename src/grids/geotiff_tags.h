#pragma once

// What a GeoTIFF's tags say beyond the raster: where its pixels lie (the GeoTIFF tags) and what
// its bands hold (GDAL's metadata and no-value tags).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/status.h"
#include "grids/grid_description.h"

namespace hextant {

/// The georeferencing tags as read, each empty when the file lacks it.
struct GeoTiffPlacement {
  std::vector<double> PixelScale;      // ModelPixelScale: x, y(, z)
  std::vector<double> Tiepoints;       // ModelTiepoint: i, j, k, x, y, z, ...
  std::vector<double> Transformation;  // ModelTransformation: 4 x 4, row by row
  std::vector<std::uint16_t> GeoKeys;  // GeoKeyDirectory
};

/// Sets the position, spacing, row order and coordinate kind of `grid`, whose Rows and Columns
/// are set, from the tags: the nodes are the pixel centres of a pixel-is-area raster and the
/// points the tie point and scale name in a pixel-is-point one. `rasterType` becomes
/// "pixel-is-area" or "pixel-is-point". Fails for a rotated or unplaced raster and units this
/// version does not read.
Status PlaceGeoTiffGrid(const GeoTiffPlacement& tags, GridDescription& grid,
                        std::string& rasterType);

/// One band as GDAL's metadata describes it.
struct GdalBand {
  std::string Description;
  std::string Unit;
  double Scale = 1.0;
  double Offset = 0.0;
};

/// GDAL's metadata of a file with `bands` bands: the items of the dataset (TYPE, ...) in their
/// order and each band's description, unit, scale and offset.
struct GdalMetadata {
  std::vector<std::pair<std::string, std::string>> Items;
  std::vector<GdalBand> Bands;
};

/// Reads the XML of GDAL's metadata tag; what it cannot make out is left out.
GdalMetadata ParseGdalMetadata(std::string_view xml, std::size_t bands);

/// Metres in one unit of a band's values as GDAL names units ("metre", "ft", "US survey foot");
/// 0 for a unit that is no length known here. An empty name is metres.
double MetresPerUnit(std::string_view unit) noexcept;

}  // namespace hextant

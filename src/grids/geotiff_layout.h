#pragma once

// GeoTIFF grids as PROJ publishes its geoid models and GDAL writes rasters: strips or tiles,
// uncompressed, LZW, DEFLATE or PackBits, with or without a predictor; Float32, Float64, Int16,
// UInt16 or Int32 values with GDAL's scale, offset and no-value; placed by the GeoTIFF tags,
// geographic or projected. Of several bands, the one GDAL's metadata calls "geoid_undulation" is
// read, or else the first.

#include <cstdint>
#include <istream>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"
#include "grids/tiff_stream.h"

namespace hextant {

/// True when `head` starts as a TIFF or BigTIFF file does, in either byte order.
bool LooksLikeTiff(std::string_view head) noexcept;

class GeoTiffGrid {
 public:
  /// `source` holds a file of `size` bytes; it must outlive this object.
  GeoTiffGrid(std::istream& source, std::uint64_t size);

  /// Opens the file and reads its first image's tags into `grid`; fails, saying which tag and
  /// why, for anything this version cannot read exactly.
  Status ReadHeader(GridDescription& grid);

  /// Reads every node of the chosen band into `sink`, after ReadHeader.
  Status ReadValues(const GridDescription& grid, GridNodeSink& sink);

 private:
  struct Image {
    std::uint32_t Width = 0, Height = 0;
    std::uint16_t Samples = 1, Band = 0, Bits = 0, Format = 1, Planar = 1;
    bool Tiled = false;
    std::uint32_t ChunkWidth = 0, ChunkHeight = 0;  // a tile, or a strip of the image's width
    std::uint64_t StoredBytes = 0;                  // of every strip or tile
  };
  Status CheckOneGrid();
  Status ReadImage(std::string& version);
  Status CheckDataCanFill();
  Status ReadBandMetadata(GridDescription& grid, std::string& remarks);
  Status ReadChunk(std::uint32_t x, std::uint32_t y, std::vector<char>& chunk);
  void TakeChunk(const std::vector<char>& chunk, std::uint32_t x, const GridDescription& grid,
                 std::uint32_t rows, std::vector<double>& block) const;
  TiffStream file_;
  std::uint64_t size_;
  Image image_;
};

}  // namespace hextant

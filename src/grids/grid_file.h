#pragma once

// A published grid file (ISG, GTX, GeoTIFF, NGS, BYN, ESRI ASCII, Surfer) read as a stream: its
// layout is told from its first bytes, never from its name; then its header is checked and its
// nodes handed out.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"

namespace hextant {

/// How many of a file's first bytes are looked at to tell its layout.
inline constexpr std::size_t GridHeadSize = 1 << 16;

/// The layout of a file whose first bytes are `head` and whose size is `size`, when it is one.
std::optional<GridLayout> RecognizeGridLayout(std::string_view head, std::uint64_t size) noexcept;

/// A grid layout's command-line name and its one-line description.
struct GridLayoutName {
  GridLayout Layout;
  std::string_view Name;
  std::string_view Description;
};

/// The layouts this version reads, each with its name.
inline constexpr GridLayoutName GridLayoutNames[] = {
    {GridLayout::Isg, "isg", "ISG text grids 1.0, 1.01 and 2.0 (the Geoid Service's format)"},
    {GridLayout::Gtx, "gtx", "GTX binary grids (NOAA, PROJ), float32 or float64 values"},
    {GridLayout::Ngs, "ngs", "NGS binary geoid grids (.bin: GEOID12B, GEOID18), either byte order"},
    {GridLayout::Byn, "byn", "BYN grids (Natural Resources Canada), 2- or 4-byte integers"},
    {GridLayout::EsriAscii, "esri-ascii", "ESRI ASCII grids (.asc: ncols, nrows, xllcorner ...)"},
    {GridLayout::Surfer, "surfer", "Surfer grids: DSAA text, Surfer 6 (DSBB) and 7 (DSRB) binary"},
    {GridLayout::GeoTiff, "geotiff",
     "GeoTIFF grids (PROJ's, GDAL's): strips or tiles, LZW, DEFLATE"},
};

/// The layout a command-line name forces ("isg", "gtx", ...), or nullopt.
std::optional<GridLayout> GridLayoutNamed(std::string_view name) noexcept;

/// The layout a setting forces: a GridLayout's number, or -1 for the one the content shows.
std::optional<GridLayout> ForcedGridLayout(std::int16_t setting) noexcept;

class GeoTiffGrid;

class GridFile {
 public:
  /// `source` stands at the start of a file of `size` bytes.
  GridFile(std::istream& source, std::uint64_t size);
  ~GridFile();
  GridFile(const GridFile&) = delete;
  GridFile& operator=(const GridFile&) = delete;

  /// Tells the layout (or takes `forced`) and reads the header; fails saying what is wrong.
  Status ReadHeader(std::optional<GridLayout> forced = std::nullopt);
  const GridDescription& Description() const noexcept { return grid_; }
  /// Reads every node into `sink`, after ReadHeader.
  Status ReadNodes(GridNodeSink& sink);

 private:
  class Lines;
  Status ReadTextHeader(GridLayout layout);
  Status ReadTextValues(GridNodeSink& sink);
  std::istream& source_;
  std::uint64_t size_;
  std::string head_;
  GridDescription grid_;
  std::unique_ptr<Lines> lines_;  // for a text layout
  std::unique_ptr<GeoTiffGrid> tiff_;
  std::string firstValues_;  // a line of values read with the header
};

/// Opens `path` and reads its grid header, for a window that shows what the file holds. The
/// error names the file.
Status DescribeGridFile(const std::filesystem::path& path, GridDescription& grid,
                        std::optional<GridLayout> forced = std::nullopt);

}  // namespace hextant

namespace hextant {

/// The layout of the file at `path` told from its first bytes; nullopt when it is no grid file
/// this version reads or cannot be read.
std::optional<GridLayout> RecognizeGridFile(const std::filesystem::path& path);

/// Reads every node of the grid file at `path` and counts those without value into `count`;
/// fails, naming the file, where the file breaks.
Status CountNodesWithoutValue(const std::filesystem::path& path, std::optional<GridLayout> forced,
                              std::int64_t& count);

}  // namespace hextant

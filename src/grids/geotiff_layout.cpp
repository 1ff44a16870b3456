#include "grids/geotiff_layout.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "grids/geotiff_tags.h"
#include "text/text_parsing.h"

namespace hextant {
namespace {

// A compressed strip or tile expands at most about a thousand times (DEFLATE's limit, LZW's is
// near it): a file whose image would need more than this many bytes per stored byte is broken.
constexpr std::uint64_t MaxExpansion = 2048;

// The largest strip or tile read: 512 MiB, as much as libtiff allocates at once.
constexpr std::uint64_t MaxChunkBytes = std::uint64_t{1} << 29;

Status TiffError(const std::string& why) {
  return Status::Error(ErrorFileFormat, "the GeoTIFF " + why);
}

const char* CompressionName(std::uint16_t compression) noexcept {
  switch (compression) {
    case COMPRESSION_NONE:
      return "no compression";
    case COMPRESSION_LZW:
      return "LZW";
    case COMPRESSION_ADOBE_DEFLATE:
    case COMPRESSION_DEFLATE:
      return "DEFLATE";
    case COMPRESSION_PACKBITS:
      return "PackBits";
    case COMPRESSION_JPEG:
    case COMPRESSION_OJPEG:
      return "JPEG";
    case COMPRESSION_LZMA:
      return "LZMA";
    case COMPRESSION_ZSTD:
      return "ZSTD";
    case COMPRESSION_WEBP:
      return "WebP";
    case COMPRESSION_LERC:
      return "LERC";
    default:
      return nullptr;
  }
}

bool CompressionRead(std::uint16_t compression) noexcept {
  return compression == COMPRESSION_NONE || compression == COMPRESSION_LZW ||
         compression == COMPRESSION_ADOBE_DEFLATE || compression == COMPRESSION_DEFLATE ||
         compression == COMPRESSION_PACKBITS;
}

// "Float32", "Int16", ...; "" for a sample type this version does not read.
std::string SampleTypeName(std::uint16_t format, std::uint16_t bits) {
  if (format == SAMPLEFORMAT_IEEEFP && (bits == 32 || bits == 64)) {
    return "Float" + std::to_string(bits);
  }
  if ((format == SAMPLEFORMAT_INT && (bits == 16 || bits == 32)) ||
      (format == SAMPLEFORMAT_UINT && bits == 16)) {
    return std::string(format == SAMPLEFORMAT_INT ? "Int" : "UInt") + std::to_string(bits);
  }
  return {};
}

std::string SampleTypeDescription(std::uint16_t format, std::uint16_t bits) {
  const char* kind = format == SAMPLEFORMAT_IEEEFP ? "floating-point numbers"
                     : format == SAMPLEFORMAT_INT  ? "signed integers"
                     : format == SAMPLEFORMAT_UINT ? "unsigned integers"
                     : format == SAMPLEFORMAT_COMPLEXINT || format == SAMPLEFORMAT_COMPLEXIEEEFP
                         ? "complex numbers"
                         : "samples of an unknown format";
  return std::to_string(bits) + "-bit " + kind + " (sample format " + std::to_string(format) + ")";
}

// Where a chunk's values of the band read stand: every `stride`-th value from `band` on, rows
// of `chunkWidth` pixels; the rows of the block they go to are `blockWidth` long.
struct ChunkLayout {
  std::size_t stride, band, chunkWidth, blockWidth;
};

// The band's values of a decoded chunk (native byte order) in metres, into the block's rows:
// one loop per value type.
template <typename T>
void TakeValues(const char* chunk, const ChunkLayout& layout, const GridDescription& grid,
                std::uint32_t rows, std::uint32_t columns, double* block) noexcept {
  for (std::uint32_t r = 0; r < rows; ++r) {
    const char* p = chunk + (r * layout.chunkWidth * layout.stride + layout.band) * sizeof(T);
    double* out = block + r * layout.blockWidth;
    for (std::uint32_t c = 0; c < columns; ++c, p += layout.stride * sizeof(T)) {
      T value;
      std::memcpy(&value, p, sizeof value);
      out[c] = ValueInMetres(grid, static_cast<double>(value));
    }
  }
}

}  // namespace

bool LooksLikeTiff(std::string_view head) noexcept {
  return head.size() >= 8 && (head.starts_with(std::string_view("II*\0", 4)) ||
                              head.starts_with(std::string_view("MM\0*", 4)) ||
                              head.starts_with(std::string_view("II+\0", 4)) ||
                              head.starts_with(std::string_view("MM\0+", 4)));
}

GeoTiffGrid::GeoTiffGrid(std::istream& source, std::uint64_t size)
    : file_(source, size), size_(size) {}

Status GeoTiffGrid::ReadHeader(GridDescription& grid) {
  if (Status s = file_.Open(); !s) {
    return s;
  }
  grid = GridDescription{};
  grid.Layout = GridLayout::GeoTiff;
  if (Status s = CheckOneGrid(); !s) {
    return s;
  }
  if (Status s = ReadImage(grid.Version); !s) {
    return s;
  }
  grid.Rows = static_cast<std::int32_t>(image_.Height);
  grid.Columns = static_cast<std::int32_t>(image_.Width);
  GeoTiffPlacement tags;
  file_.Doubles(TagModelPixelScale, tags.PixelScale);
  file_.Doubles(TagModelTiepoint, tags.Tiepoints);
  file_.Doubles(TagModelTransformation, tags.Transformation);
  file_.Shorts(TagGeoKeyDirectory, tags.GeoKeys);
  std::string rasterType;
  if (Status s = PlaceGeoTiffGrid(tags, grid, rasterType); !s) {
    return s;
  }
  grid.Version += ", " + rasterType;
  return ReadBandMetadata(grid, grid.Remarks);
}

Status GeoTiffGrid::CheckOneGrid() {
  // Overviews (reduced images) and masks may follow the grid; a second grid at full resolution
  // (a file of subgrids) would be left out without a word.
  TIFF* t = file_.Handle();
  const tdir_t images = TIFFNumberOfDirectories(t);
  if (images < 2) {
    return Status::Ok();
  }
  int grids = 1;
  for (tdir_t d = 1; d < images && TIFFSetDirectory(t, d) == 1; ++d) {
    std::uint32_t kind = 0;
    TIFFGetFieldDefaulted(t, TIFFTAG_SUBFILETYPE, &kind);
    grids += (kind & (FILETYPE_REDUCEDIMAGE | FILETYPE_MASK)) == 0 ? 1 : 0;
  }
  if (TIFFSetDirectory(t, 0) != 1) {
    return TiffError("cannot go back to its first image: " + file_.Error("libtiff said nothing"));
  }
  if (grids > 1) {
    return TiffError("holds " + std::to_string(grids) +
                     " grids at full resolution (subgrids); this version reads a file of one grid");
  }
  return Status::Ok();
}

Status GeoTiffGrid::ReadImage(std::string& version) {
  TIFF* t = file_.Handle();
  std::uint16_t compression = COMPRESSION_NONE, predictor = PREDICTOR_NONE;
  TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &image_.Width);
  TIFFGetField(t, TIFFTAG_IMAGELENGTH, &image_.Height);
  TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &image_.Samples);
  TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &image_.Bits);
  TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLEFORMAT, &image_.Format);
  TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &image_.Planar);
  TIFFGetFieldDefaulted(t, TIFFTAG_COMPRESSION, &compression);
  TIFFGetFieldDefaulted(t, TIFFTAG_PREDICTOR, &predictor);
  constexpr auto maxSide = static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max());
  if (image_.Width < 1 || image_.Height < 1 || image_.Width > maxSide || image_.Height > maxSide ||
      image_.Samples < 1) {
    return TiffError("image is " + std::to_string(image_.Width) + " x " +
                     std::to_string(image_.Height) + " pixels of " +
                     std::to_string(image_.Samples) + " samples");
  }
  if (!CompressionRead(compression)) {
    const char* name = CompressionName(compression);
    return TiffError("is compressed with " + std::string(name ? name : "the method") + " (" +
                     std::to_string(compression) +
                     "), which this version does not read; it reads uncompressed, LZW, "
                     "DEFLATE and PackBits files");
  }
  if (predictor > PREDICTOR_FLOATINGPOINT) {
    return TiffError("gives the predictor " + std::to_string(predictor) +
                     "; only 1 (none), 2 (horizontal) and 3 (floating point) exist");
  }
  const std::string type = SampleTypeName(image_.Format, image_.Bits);
  if (type.empty()) {
    return TiffError("holds " + SampleTypeDescription(image_.Format, image_.Bits) +
                     "; this version reads Float32, Float64, Int16, UInt16 and Int32 values");
  }
  image_.Tiled = TIFFIsTiled(t) != 0;
  if (image_.Tiled) {
    TIFFGetField(t, TIFFTAG_TILEWIDTH, &image_.ChunkWidth);
    TIFFGetField(t, TIFFTAG_TILELENGTH, &image_.ChunkHeight);
  } else {
    image_.ChunkWidth = image_.Width;
    TIFFGetFieldDefaulted(t, TIFFTAG_ROWSPERSTRIP, &image_.ChunkHeight);
    image_.ChunkHeight = std::min(image_.ChunkHeight, image_.Height);
  }
  if (image_.ChunkWidth < 1 || image_.ChunkHeight < 1) {
    return TiffError(std::string("gives ") + (image_.Tiled ? "tiles" : "strips") + " of " +
                     std::to_string(image_.ChunkWidth) + " x " +
                     std::to_string(image_.ChunkHeight) + " pixels");
  }
  if (Status s = CheckDataCanFill(); !s) {
    return s;
  }
  version = type + ", " +
            (image_.Tiled ? "tiled " + std::to_string(image_.ChunkWidth) + " x " +
                                std::to_string(image_.ChunkHeight)
                          : std::string("striped")) +
            ", " + CompressionName(compression) +
            (predictor == PREDICTOR_HORIZONTAL      ? ", horizontal predictor"
             : predictor == PREDICTOR_FLOATINGPOINT ? ", floating-point predictor"
                                                    : "");
  return Status::Ok();
}

Status GeoTiffGrid::CheckDataCanFill() {
  TIFF* t = file_.Handle();
  const std::uint32_t chunks = image_.Tiled ? TIFFNumberOfTiles(t) : TIFFNumberOfStrips(t);
  std::uint64_t* counts = nullptr;
  if (TIFFGetField(t, image_.Tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &counts) !=
          1 ||
      counts == nullptr) {
    return TiffError(file_.Error("gives no byte counts of its strips or tiles"));
  }
  for (std::uint32_t i = 0; i < chunks; ++i) {
    image_.StoredBytes += std::min(counts[i], size_);
  }
  image_.StoredBytes = std::min(image_.StoredBytes, size_);  // the data lies within the file
  // Sizes in doubles: the products of the tags' numbers may pass 2^64.
  const double bytes = image_.Bits / 8.0;
  const double limit = static_cast<double>(MaxExpansion * image_.StoredBytes);
  const double image = static_cast<double>(image_.Width) * image_.Height * image_.Samples * bytes;
  if (image > limit) {
    return TiffError("promises " + std::to_string(image_.Height) + " x " +
                     std::to_string(image_.Width) + " pixels of " +
                     NumberText(image_.Samples * bytes) + " bytes, but its " +
                     std::to_string(image_.StoredBytes) + " bytes of data cannot hold them");
  }
  const double planes = image_.Planar == PLANARCONFIG_SEPARATE ? 1.0 : image_.Samples;
  const double chunk = static_cast<double>(image_.ChunkWidth) * image_.ChunkHeight * planes * bytes;
  if (chunk > std::min(limit, static_cast<double>(MaxChunkBytes))) {
    return TiffError(std::string("gives ") + (image_.Tiled ? "tiles" : "strips") + " of " +
                     std::to_string(image_.ChunkWidth) + " x " +
                     std::to_string(image_.ChunkHeight) + " pixels, more than its data can fill");
  }
  return Status::Ok();
}

Status GeoTiffGrid::ReadBandMetadata(GridDescription& grid, std::string& remarks) {
  std::string xml;
  file_.Text(TagGdalMetadata, xml);
  const GdalMetadata metadata = ParseGdalMetadata(xml, image_.Samples);
  for (std::size_t b = 0; b < metadata.Bands.size(); ++b) {
    if (metadata.Bands[b].Description == "geoid_undulation") {
      image_.Band = static_cast<std::uint16_t>(b);
      break;
    }
  }
  const GdalBand& band = metadata.Bands[image_.Band];
  const double metres = MetresPerUnit(band.Unit);
  if (metres == 0) {
    return TiffError("gives its values in '" + band.Unit +
                     "' (GDAL's UNITTYPE), which is no unit of length this version knows");
  }
  if (!std::isfinite(band.Scale) || band.Scale == 0 || !std::isfinite(band.Offset)) {
    return TiffError("gives the scale " + NumberText(band.Scale) + " and offset " +
                     NumberText(band.Offset) + " to its values");
  }
  grid.ValueFactor = band.Scale * metres;
  grid.ValueOffset = band.Offset * metres;
  grid.ValueUnits = metres == 1.0 ? "meters" : band.Unit;
  std::string noData;
  if (file_.Text(TagGdalNoData, noData)) {
    const std::string_view text = TrimBlanks(noData);
    double value = 0;
    const auto [end, error] =
        ReadDecimal(text.data(), text.data() + text.size(), value, DecimalMark::PointOnly);
    const bool notANumber = UpperCase(text).find("NAN") != std::string::npos;
    if (!notANumber && (error != std::errc() || end != text.data() + text.size())) {
      return TiffError("gives the no-value '" + noData +
                       "' (GDAL's nodata tag), which is no number");
    }
    grid.HasNoData = !notANumber;
    grid.NoData = value;
  }
  for (const auto& [name, value] : metadata.Items) {
    if (name != "AREA_OR_POINT") {
      remarks += (remarks.empty() ? "" : ", ") + name + "=" + value.substr(0, 80);
    }
  }
  remarks += (remarks.empty() ? "" : "; ") + std::string("band ") +
             std::to_string(image_.Band + 1) + " of " + std::to_string(image_.Samples);
  if (!band.Description.empty()) {
    remarks += " \"" + band.Description.substr(0, 80) + "\"";
  }
  if (!band.Unit.empty()) {
    remarks += ", unit " + band.Unit.substr(0, 40);
  }
  if (band.Scale != 1 || band.Offset != 0) {
    remarks += ", scale " + NumberText(band.Scale) + ", offset " + NumberText(band.Offset);
  }
  return Status::Ok();
}

Status GeoTiffGrid::ReadChunk(std::uint32_t x, std::uint32_t y, std::vector<char>& chunk) {
  TIFF* t = file_.Handle();
  const std::uint16_t plane = image_.Planar == PLANARCONFIG_SEPARATE ? image_.Band : 0;
  const std::uint32_t index =
      image_.Tiled ? TIFFComputeTile(t, x, y, 0, plane) : TIFFComputeStrip(t, y, plane);
  std::uint64_t* counts = nullptr;
  TIFFGetField(t, image_.Tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &counts);
  if (counts != nullptr && counts[index] == 0) {
    chunk.clear();  // a chunk GDAL left out of a sparse file: no values there
    return Status::Ok();
  }
  const tmsize_t size = image_.Tiled ? TIFFTileSize(t) : TIFFStripSize(t);
  chunk.resize(static_cast<std::size_t>(std::max<tmsize_t>(size, 0)));
  file_.ClearError();
  const tmsize_t got = image_.Tiled ? TIFFReadEncodedTile(t, index, chunk.data(), size)
                                    : TIFFReadEncodedStrip(t, index, chunk.data(), size);
  const std::uint32_t rows = std::min(image_.ChunkHeight, image_.Height - y);
  const std::uint64_t needed = std::uint64_t{rows} * image_.ChunkWidth * image_.Bits / 8 *
                               (image_.Planar == PLANARCONFIG_SEPARATE ? 1 : image_.Samples);
  if (got < 0 || static_cast<std::uint64_t>(got) < needed) {
    return TiffError(
        std::string(image_.Tiled ? "tile " : "strip ") + std::to_string(index) +
        " (from pixel row " + std::to_string(y + 1) + ", column " + std::to_string(x + 1) +
        ") cannot be read: " + file_.Error("it holds fewer bytes than its pixels need"));
  }
  return Status::Ok();
}

void GeoTiffGrid::TakeChunk(const std::vector<char>& chunk, std::uint32_t x,
                            const GridDescription& grid, std::uint32_t rows,
                            std::vector<double>& block) const {
  const std::uint32_t columns = std::min(image_.ChunkWidth, image_.Width - x);
  if (chunk.empty()) {
    for (std::uint32_t r = 0; r < rows; ++r) {
      std::fill_n(block.data() + std::size_t{r} * image_.Width + x, columns,
                  std::numeric_limits<double>::quiet_NaN());
    }
    return;
  }
  const ChunkLayout layout{image_.Planar == PLANARCONFIG_SEPARATE ? 1u : image_.Samples,
                           image_.Planar == PLANARCONFIG_SEPARATE ? 0u : image_.Band,
                           image_.ChunkWidth, image_.Width};
  const auto take = [&](auto type) {
    TakeValues<decltype(type)>(chunk.data(), layout, grid, rows, columns, block.data() + x);
  };
  if (image_.Format == SAMPLEFORMAT_IEEEFP) {
    image_.Bits == 32 ? take(float{}) : take(double{});
  } else if (image_.Format == SAMPLEFORMAT_INT) {
    image_.Bits == 16 ? take(std::int16_t{}) : take(std::int32_t{});
  } else {
    take(std::uint16_t{});
  }
}

Status GeoTiffGrid::ReadValues(const GridDescription& grid, GridNodeSink& sink) {
  std::vector<char> chunk;
  std::vector<double> block(std::size_t{std::min(image_.ChunkHeight, image_.Height)} *
                            image_.Width);
  for (std::uint32_t y = 0; y < image_.Height; y += image_.ChunkHeight) {
    const std::uint32_t rows = std::min(image_.ChunkHeight, image_.Height - y);
    for (std::uint32_t x = 0; x < image_.Width; x += image_.ChunkWidth) {
      if (Status s = ReadChunk(x, y, chunk); !s) {
        return s;
      }
      TakeChunk(chunk, x, grid, rows, block);
    }
    for (std::uint32_t r = 0; r < rows; ++r) {
      const auto rasterRow = static_cast<std::int32_t>(y + r);
      const std::int32_t gridRow = grid.RowsFromNorth ? grid.Rows - 1 - rasterRow : rasterRow;
      if (Status s = sink.Row(gridRow, block.data() + std::size_t{r} * image_.Width); !s) {
        return s;
      }
    }
    sink.Progress(
        static_cast<std::uint64_t>(static_cast<double>(size_) * (y + rows) / image_.Height));
  }
  return Status::Ok();
}

}  // namespace hextant

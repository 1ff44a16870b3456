#pragma once

// A TIFF file read with libtiff from a seekable stream rather than from a path, so that it is read
// like every other source file; libtiff's complaints are kept as text for the error message
// instead of going to stderr, and no single allocation of libtiff's may pass a bound.

#include <cstdarg>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "base/status.h"

struct tiff;  // libtiff's TIFF

namespace hextant {

/// The GeoTIFF and GDAL tags read here, which libtiff does not know by itself.
enum TiffTag : std::uint32_t {
  TagModelPixelScale = 33550,
  TagModelTiepoint = 33922,
  TagModelTransformation = 34264,
  TagGeoKeyDirectory = 34735,
  TagGeoDoubleParams = 34736,
  TagGeoAsciiParams = 34737,
  TagGdalMetadata = 42112,
  TagGdalNoData = 42113,
};

class TiffStream {
 public:
  /// `source` stands anywhere in a file of `size` bytes; it must outlive this object.
  TiffStream(std::istream& source, std::uint64_t size);
  ~TiffStream();
  TiffStream(const TiffStream&) = delete;
  TiffStream& operator=(const TiffStream&) = delete;

  /// Opens the file's first image; fails with libtiff's words for what is wrong.
  Status Open();
  tiff* Handle() const noexcept { return tiff_; }
  /// What libtiff last complained of since ClearError, or `fallback` when it said nothing.
  std::string Error(const std::string& fallback) const;
  void ClearError() noexcept { error_.clear(); }

  /// The values of a tag as numbers, 16-bit numbers or text; false when the image lacks the tag.
  bool Doubles(std::uint32_t tag, std::vector<double>& values) const;
  bool Shorts(std::uint32_t tag, std::vector<std::uint16_t>& values) const;
  bool Text(std::uint32_t tag, std::string& text) const;

  /// What libtiff reads through (its client data): the stream and its size.
  struct Source {
    std::istream& stream;
    std::uint64_t size;
  };

 private:
  static int OnError(tiff*, void* self, const char*, const char* format, va_list args);
  Source source_;
  tiff* tiff_ = nullptr;
  std::string error_;
};

}  // namespace hextant

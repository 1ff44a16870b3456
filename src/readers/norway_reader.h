#pragma once

// The reader of the "Norway" and "Norway 2010_NN2000" formats: a 64-byte little-endian header
// (extent and spacings in decimal degrees, coordinate kind, ellipsoid), then the grid rows from
// north to south as single-precision values in blocks of 16, 9999.0 marking a node without
// value.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings` and sets `CodeFilter` ("9999.0000"),
/// `SpacingX`, `SpacingY`, `CoordinateType` and `EllipsoidCode` from the header. Failures (a
/// short header or body, spacings that are not positive, grids beyond 16-bit counts) are reported
/// through ReportReaderError and give false.
bool ConvertFileNorway(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure = nullptr);

/// True when `head`, the first bytes of a file of `sizeInBytes` bytes, holds a header that the
/// reader takes and whose rows fill the file to its last byte.
bool FitsNorwayHeader(std::string_view head, std::uint64_t sizeInBytes);

/// The same for the file at `sourceFile`.
bool ConvertFileNorway(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

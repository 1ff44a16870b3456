#pragma once

// The reader of the "Switzerland" format: 361 separations per data line, one grid row per line from
// north to south, west to east, in grid coordinates from the north-western node at easting 480000 m
// and northing 302000 m; the spacings are the window's, in metres.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings`; a field equal to `CodeFilter` is a
/// node without value. Failures are reported through ReportReaderError and give false.
bool ConvertFileSwitzerland(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool ConvertFileSwitzerland(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

#pragma once

// The reader of the "Poland PL_Geoid_2011" format: tab-separated node lines of latitude,
// longitude (decimal degrees) and separation, in any order, with "#" comment lines. The first
// pass finds the extent, the second places each node on the grid that the extent and the window's
// spacings give; grid nodes no line supplies stay without value.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source (twice: the stream must be seekable) into the point list of `env.Settings`.
/// Failures (spacings that are not positive, a grid beyond what memory can hold, a node off the
/// grid) are reported through ReportReaderError and give false.
bool ConvertFilePoland(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool ConvertFilePoland(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                       ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

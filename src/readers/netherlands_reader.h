#pragma once

// The reader of the "Netherlands" format: 52 separations per data line, one grid row per line from
// north to south, west to east, from the north-western node at 3°12'30"E 53°40'30"N; the spacings
// are the window's, in radians.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings`; a field equal to `CodeFilter` is a
/// node without value. Failures are reported through ReportReaderError and give false.
bool ConvertFileNetherlands(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool ConvertFileNetherlands(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                            ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

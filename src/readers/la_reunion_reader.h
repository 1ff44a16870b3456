#pragma once

// The reader of the "La Reunion" format: three header lines (latitude range, longitude range,
// latitude and longitude spacing, in decimal degrees), then the grid rows from north to south,
// each wrapped over lines of at most eight values; 9999 marks a node without value. Numbers take
// a point as the only decimal mark.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings` and sets `SpacingX` and `SpacingY`
/// (radians) from the header. Failures are reported through ReportReaderError and give false.
bool ConvertFileLaReunion(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                          ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool ConvertFileLaReunion(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                          ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

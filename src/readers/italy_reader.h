#pragma once

// The reader of the "Italy" format: after a "GEOIDE" header line and one more line, 140 value
// lines (10 rows of 14 nodes, north to south, west to east), then the latitude of the southern
// row and the longitude of the western column in decimal degrees.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings` with the window's spacings (radians).
/// Failures are reported through ReportReaderError and give false.
bool Convert_File_Italy(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool Convert_File_Italy(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

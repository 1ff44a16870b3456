#pragma once

// The reader of the "Catalunya GR file" format: a keyword-structured text header of sections
// and keys (type, description, orientation parameters, auxiliary information), then one
// separation in metres per line for a square geographical grid, rows from north to south and
// west to east within a row.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads a Catalunya GR file from `source` (of `sizeInBytes` bytes) into the point list of
/// `env.Settings`. On success sets `SpacingX` = `SpacingY` = the grid spacing in radians and
/// `EllipsoidCode` = 24 and returns true; on any failure reports it through ReportReaderError
/// and returns false, leaving those settings unchanged. `failure` receives the reason.
bool ConvertFileGR(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                   ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`.
bool ConvertFileGR(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                   ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

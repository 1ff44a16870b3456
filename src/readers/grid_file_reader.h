#pragma once

// The reader of published grid files (ISG, GTX, GeoTIFF, NGS, BYN, ESRI ASCII, Surfer): the layout
// is told from the file's content, every node of the file becomes a node of the model, values are
// taken as stored, in metres.

#include <cstdint>
#include <filesystem>
#include <istream>

#include "readers/converter_frame.h"

namespace hextant {

/// Reads the grid file into the point list of `env.Settings` and sets `CoordinateType`,
/// `SpacingX` and `SpacingY` (radians or metres) from its header; `GridLayoutForced` of the
/// settings, when set, names the layout instead of the content. A broken file is reported
/// through ReportReaderError, with the place and the cause, and gives false.
bool ConvertFileGrid(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                     ReaderOutput& output, Status* failure = nullptr);

/// The same for the file at `sourceFile`; the error names the file.
bool ConvertFileGrid(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                     ReaderOutput& output, Status* failure = nullptr);

}  // namespace hextant

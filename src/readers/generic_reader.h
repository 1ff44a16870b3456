#pragma once

// The reader of generic text sources ("Use Import Wizard"): a delimited or fixed-width text file
// read with the layout and column roles the import wizard collected. It shows the progress of two
// passes over the file (to count, then to store) while reading it once, can be stopped between
// lines by clearing `ReadingActive`, and works out the offset and resolution of the separations
// itself. On a machine with more than one core the data lines are read into points on worker
// threads, block by block.

#include <cstdint>
#include <filesystem>
#include <istream>
#include <string>
#include <string_view>

#include "readers/chunked_read.h"
#include "readers/converter_frame.h"

namespace hextant {

/// Reads the source into the point list of `env.Settings`. Geographical coordinates are stored in
/// radians, grid coordinates and separations in metres (a grid read in feet sets
/// `output.SpacingFactor` to 0.3048). Returns false after "ANGULAR VALUES OUTSIDE LIMITS", or
/// with `output.StoppedByUser` when `ReadingActive` was cleared during the read.
bool ConvertFileGeneric(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure = nullptr);

/// The same with the threads and block size of `plan` (the others use DefaultGenericReadPlan).
bool ConvertFileGeneric(std::istream& source, std::uint64_t sizeInBytes, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure, const GenericReadPlan& plan);

/// The same for the file at `sourceFile`.
bool ConvertFileGeneric(const std::filesystem::path& sourceFile, ReaderEnvironment& env,
                        ReaderOutput& output, Status* failure = nullptr);

/// The hint for a read stopped by "ANGULAR VALUES OUTSIDE LIMITS" on the line `text` (line
/// `line`) when the angles were read as radians and the line's first two numbers fit decimal
/// degrees (within 360, one past pi): which unit to choose instead. "" otherwise.
std::string DegreesReadAsRadiansHint(std::int16_t angularUnit, std::int64_t line,
                                     std::string_view text);

}  // namespace hextant

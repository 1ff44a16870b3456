#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "readers/converter_frame.h"

namespace hextant {

/// Runs the reader of source format list position `sourceFormat` on `sourceFile`. A format whose
/// reader this version does not have is reported to the user and gives false, like a reader that
/// failed.
bool ReadSource(std::int16_t sourceFormat, const std::filesystem::path& sourceFile,
                ReaderEnvironment& env, ReaderOutput& output);

}  // namespace hextant

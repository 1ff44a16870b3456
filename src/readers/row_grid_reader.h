#pragma once

// The engine of the readers whose files hold one grid row per data line, north to south, from a
// north-western corner fixed by the format (Netherlands, Switzerland).

#include <cstdint>
#include <istream>

#include "readers/converter_frame.h"

namespace hextant {

struct RowGridLayout {
  const char* Procedure;
  std::int16_t RowLength;  // values per data line; lines of 51 fields or fewer are skipped
  double X0;               // the north-western node, in the unit of the spacings' coordinates
  double Y0;
};

/// Reads a row grid with the spacings of `env.Settings`; a field equal to `CodeFilter` is a node
/// without value. A data line shorter than RowLength is refused.
bool ReadRowGrid(std::istream& source, std::uint64_t sizeInBytes, const RowGridLayout& layout,
                 ReaderEnvironment& env, ReaderOutput& output, Status* failure);

}  // namespace hextant

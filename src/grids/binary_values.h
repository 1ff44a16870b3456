#pragma once

// The values of a binary grid layout (NGS, BYN, Surfer's binary grids): a block of 2-, 4- or
// 8-byte integers or IEEE floats in either byte order, one row after the other. Also the loads
// of single numbers the headers of these layouts are read with.

#include <bit>
#include <cstdint>
#include <istream>

#include "base/status.h"
#include "grids/grid_description.h"
#include "grids/grid_sink.h"

namespace hextant {

/// The `bytes` bytes at `p` as an unsigned number in the given byte order.
inline std::uint64_t LoadBytes(const char* p, int bytes, bool littleEndian) noexcept {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) {
    const int at = littleEndian ? bytes - 1 - i : i;
    value = value << 8 | static_cast<unsigned char>(p[at]);
  }
  return value;
}

inline double LoadDouble(const char* p, bool littleEndian) noexcept {
  return std::bit_cast<double>(LoadBytes(p, 8, littleEndian));
}

inline std::int32_t LoadInt32(const char* p, bool littleEndian) noexcept {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(LoadBytes(p, 4, littleEndian)));
}

inline std::int16_t LoadInt16(const char* p, bool littleEndian) noexcept {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(LoadBytes(p, 2, littleEndian)));
}

/// True when `payload` bytes hold exactly rows × columns values of `width` bytes (compared by
/// division: the product may pass 2^64 and wrap to the file's length).
bool HoldsExactly(std::uint64_t payload, std::int64_t rows, std::int64_t columns,
                  int width) noexcept;

/// What is wrong with a header laid out like GTX's and NGS's: the first node's latitude and
/// longitude (degrees, bytes 0-15), the spacings (degrees, bytes 16-31) and the counts (bytes
/// 32-39). "" when nothing is; otherwise the rest of a sentence that starts with the header.
std::string DegreeGridHeaderProblem(double south, double west, double dy, double dx,
                                    std::int64_t rows, std::int64_t columns);

/// Reads the values of `grid` (ValueBytes, IntegerValues, LittleEndian, RowsFromNorth) from
/// `source`, standing at byte grid.DataOffset, into `sink`. `what` names the layout in the
/// message of a file that ends early, which gives the byte and the row.
Status ReadBinaryValues(std::istream& source, const GridDescription& grid, GridNodeSink& sink,
                        const char* what);

}  // namespace hextant

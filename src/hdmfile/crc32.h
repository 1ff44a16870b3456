#pragma once

#include <cstddef>
#include <cstdint>

namespace hdm {

/// CRC-32 (IEEE 802.3, reflected polynomial 0xEDB88320, as zlib and PNG compute it). Feed the
/// bytes in pieces by passing the previous result as `crc`; start from 0.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) noexcept;

}  // namespace hdm

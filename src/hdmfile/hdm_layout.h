#pragma once

// The byte layout of an HDM model file, shared by the writer and the reader so that both agree on
// every offset and on what a valid section is. docs/hdm-format.md describes the same layout.

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

namespace hdm {

inline constexpr std::array<std::uint8_t, 8> kMagic{'H', 'X', 'H', 'D', 'M', 0x0D, 0x0A, 0x1A};
inline constexpr std::uint16_t kVersion = 1;

inline constexpr std::size_t kHeaderSize = 12;      // magic, version, reserved
inline constexpr std::size_t kBodySize = 8;         // flags, reserved, node count
inline constexpr std::size_t kCoordFixedSize = 86;  // everything up to and with the name length
inline constexpr std::size_t kBodyOffset = kHeaderSize;
inline constexpr std::size_t kCoordOffset = kBodyOffset + kBodySize;
inline constexpr std::size_t kNameOffset = kCoordOffset + kCoordFixedSize;
inline constexpr std::size_t kTrailerSize = 4;  // CRC-32 of every byte before it
inline constexpr std::size_t kMaxNameLength = 255;

inline constexpr std::int16_t kNullCode = std::numeric_limits<std::int16_t>::min();
inline constexpr std::int16_t kLargestCode = std::numeric_limits<std::int16_t>::max();
inline constexpr double kNullSeparation = 32767.0;

inline constexpr std::int16_t kKnownFlagBits = 0x7B;  // type 1|2, local side, interpolation
inline constexpr std::int16_t kInterpolationBits = 0x70;

struct BodySection {
  std::int16_t bodyFlags = 0;
  std::int32_t nodes = 0;
};

struct CoordSection {
  std::int16_t coordinateType = 0;
  std::int16_t resolutionCode = 0;
  double firstX = 0, firstY = 0, lastX = 0, lastY = 0;
  double spacingX = 0, spacingY = 0;
  double separationOffset = 0;
  std::int32_t rows = 0;
  std::int32_t nodes = 0;
  double semiMajorAxis = 0;
  double flattening = 0;
  std::string ellipsoidName;
};

/// Size in bytes of a complete file whose ellipsoid name has `nameLength` bytes and which holds
/// `nodes` separations.
constexpr std::uint64_t CompleteFileSize(std::uint64_t nameLength, std::uint64_t nodes) {
  return kNameOffset + nameLength + 2 * nodes + kTrailerSize;
}

void AppendHeader(std::vector<std::uint8_t>& out);
void AppendBody(std::vector<std::uint8_t>& out, const BodySection& body);
void AppendCoord(std::vector<std::uint8_t>& out, const CoordSection& coord);

/// True when `bytes` starts with the magic. The version follows at offset 8.
bool HasMagic(std::span<const std::uint8_t> bytes) noexcept;
std::uint16_t DecodeVersion(std::span<const std::uint8_t> bytes) noexcept;

/// Decode a section from `bytes`, which must hold at least up to the section's end.
BodySection DecodeBody(std::span<const std::uint8_t> bytes) noexcept;
std::uint16_t DecodeNameLength(std::span<const std::uint8_t> bytes) noexcept;
CoordSection DecodeCoord(std::span<const std::uint8_t> bytes);

/// What is wrong with a section, or nullptr when it is valid.
const char* BodyProblem(const BodySection& body) noexcept;
const char* CoordProblem(const CoordSection& coord, const BodySection& body) noexcept;

/// Storage units per metre: 1000 for resolution code 1 (mm), 100 for code 2 (cm).
double UnitsPerMetre(std::int16_t resolutionCode) noexcept;

/// Store `separation` (metres) relative to `offset`, rounded to the nearest unit (halves away
/// from zero). A node without value becomes kNullCode. Returns false when the value is not
/// finite or does not fit -32767..32767.
bool EncodeSeparation(double separation, double nullFlag, double offset, double unitsPerMetre,
                      std::int16_t& code) noexcept;

std::uint32_t GetU32(const std::uint8_t* p) noexcept;
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value);

}  // namespace hdm

#include "hdm_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "crc32.h"
#include "hdm_layout.h"

namespace hdm {
namespace {

HdmReadResult Refuse(std::string reason) {
  return HdmReadResult{std::nullopt, std::move(reason)};
}

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", value);
  return text;
}

// The length that the stored name length and node count imply, checked against the real one.
std::string LengthProblem(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kNameOffset) {
    return "is truncated: " + std::to_string(bytes.size()) + " bytes, shorter than the header";
  }
  const std::int32_t nodes = DecodeBody(bytes).nodes;
  if (nodes < 1) {
    return "stores a node count of " + std::to_string(nodes);
  }
  const std::uint64_t expected =
      CompleteFileSize(DecodeNameLength(bytes), static_cast<std::uint64_t>(nodes));
  if (bytes.size() < expected) {
    return "is truncated: " + std::to_string(bytes.size()) + " bytes, expected " +
           std::to_string(expected);
  }
  if (bytes.size() > expected) {
    return "has " + std::to_string(bytes.size() - expected) + " bytes after its end";
  }
  return {};
}

std::vector<std::int16_t> DecodeCodes(std::span<const std::uint8_t> bytes, std::size_t offset,
                                      std::int32_t nodes) {
  std::vector<std::int16_t> codes(static_cast<std::size_t>(nodes));
  const std::uint8_t* p = bytes.data() + offset;
  for (auto& code : codes) {
    code = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    p += 2;
  }
  return codes;
}

}  // namespace

std::optional<double> HdmModel::Separation(std::size_t index) const noexcept {
  if (index >= codes.size() || codes[index] == kNullCode) {
    return std::nullopt;
  }
  return separationOffset + codes[index] / UnitsPerMetre(resolutionCode);
}

HdmReadResult ReadHdm(std::span<const std::uint8_t> bytes) {
  const bool shorterThanMagic = bytes.size() < kMagic.size();
  if (shorterThanMagic && std::equal(bytes.begin(), bytes.end(), kMagic.begin())) {
    return Refuse("is truncated inside its header");
  }
  if (!HasMagic(bytes)) {
    return Refuse("is not an HDM model (no HDM magic)");
  }
  if (bytes.size() < kHeaderSize) {
    return Refuse("is truncated inside its header");
  }
  if (const auto version = DecodeVersion(bytes); version != kVersion) {
    return Refuse("has HDM version " + std::to_string(version) + ", this reader knows version " +
                  std::to_string(kVersion));
  }
  if (auto problem = LengthProblem(bytes); !problem.empty()) {
    return Refuse(std::move(problem));
  }
  const std::size_t crcOffset = bytes.size() - kTrailerSize;
  const std::uint32_t stored = GetU32(bytes.data() + crcOffset);
  const std::uint32_t computed = Crc32(bytes.data(), crcOffset);
  if (stored != computed) {
    return Refuse("is corrupted: CRC-32 " + Hex(computed) + " differs from the stored " +
                  Hex(stored));
  }
  const BodySection body = DecodeBody(bytes);
  const CoordSection coord = DecodeCoord(bytes);
  if (const char* problem = BodyProblem(body)) {
    return Refuse(std::string("has an invalid body section: ") + problem);
  }
  if (const char* problem = CoordProblem(coord, body)) {
    return Refuse(std::string("has an invalid coordinate section: ") + problem);
  }
  HdmModel model{.coordinateType = coord.coordinateType,
                 .resolutionCode = coord.resolutionCode,
                 .bodyFlags = body.bodyFlags,
                 .nodes = body.nodes,
                 .rows = coord.rows,
                 .firstX = coord.firstX,
                 .firstY = coord.firstY,
                 .lastX = coord.lastX,
                 .lastY = coord.lastY,
                 .spacingX = coord.spacingX,
                 .spacingY = coord.spacingY,
                 .separationOffset = coord.separationOffset,
                 .ellipsoidName = coord.ellipsoidName,
                 .semiMajorAxis = coord.semiMajorAxis,
                 .flattening = coord.flattening,
                 .codes = {}};
  model.codes = DecodeCodes(bytes, kNameOffset + coord.ellipsoidName.size(), body.nodes);
  return HdmReadResult{std::move(model), {}};
}

HdmReadResult ReadHdmFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return Refuse(path + (error ? ": cannot be opened" : ": is not a regular file"));
  }
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) {
    return Refuse(path + ": cannot be opened");
  }
  const std::streamoff size = file.tellg();
  // The largest valid model: a 255-byte name and 2^31 - 1 nodes.
  if (size < 0 || static_cast<std::uint64_t>(size) >
                      CompleteFileSize(kMaxNameLength, std::numeric_limits<std::int32_t>::max())) {
    return Refuse(path + ": is too large to be an HDM model");
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(bytes.data()), size)) {
    return Refuse(path + ": cannot be read");
  }
  HdmReadResult result = ReadHdm(bytes);
  if (!result.model) {
    result.error = path + ": " + result.error;
  }
  return result;
}

}  // namespace hdm

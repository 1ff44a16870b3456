#include "hdm_reader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>

#include "crc32.h"
#include "hdm_layout.h"
#include "utf8_path.h"

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
// `bytes` holds the file's first bytes, at least its header when the file is that long.
std::string LengthProblem(std::span<const std::uint8_t> bytes, std::uint64_t fileSize) {
  if (fileSize < kNameOffset) {
    return "is truncated: " + std::to_string(fileSize) + " bytes, shorter than the header";
  }
  const std::int32_t nodes = DecodeBody(bytes).nodes;
  if (nodes < 1) {
    return "stores a node count of " + std::to_string(nodes);
  }
  const std::uint64_t expected =
      CompleteFileSize(DecodeNameLength(bytes), static_cast<std::uint64_t>(nodes));
  if (fileSize < expected) {
    return "is truncated: " + std::to_string(fileSize) + " bytes, expected " +
           std::to_string(expected);
  }
  if (fileSize > expected) {
    return "has " + std::to_string(fileSize - expected) + " bytes after its end";
  }
  return {};
}

// Checks 1 and 2 of docs/hdm-format.md on the first bytes of a file of `fileSize` bytes; `prefix`
// holds at least the first min(fileSize, kNameOffset + kMaxNameLength) bytes.
std::string PrefixProblem(std::span<const std::uint8_t> prefix, std::uint64_t fileSize) {
  const bool shorterThanMagic = fileSize < kMagic.size();
  if (shorterThanMagic && std::equal(prefix.begin(), prefix.end(), kMagic.begin())) {
    return "is truncated inside its header";
  }
  if (!HasMagic(prefix)) {
    return "is not an HDM model (no HDM magic)";
  }
  if (fileSize < kHeaderSize) {
    return "is truncated inside its header";
  }
  if (const auto version = DecodeVersion(prefix); version != kVersion) {
    return "has HDM version " + std::to_string(version) + ", this reader knows version " +
           std::to_string(kVersion);
  }
  return LengthProblem(prefix, fileSize);
}

std::string CrcProblem(std::uint32_t stored, std::uint32_t computed) {
  if (stored == computed) {
    return {};
  }
  return "is corrupted: CRC-32 " + Hex(computed) + " differs from the stored " + Hex(stored);
}

// Check 4 and the header of the model, without its codes.
HdmReadResult DecodeSections(std::span<const std::uint8_t> prefix) {
  const BodySection body = DecodeBody(prefix);
  const CoordSection coord = DecodeCoord(prefix);
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
  return HdmReadResult{std::move(model), {}};
}

// The largest valid model: a 255-byte name and 2^31 - 1 nodes.
bool TooLarge(std::streamoff size) {
  return size < 0 || static_cast<std::uint64_t>(size) >
                         CompleteFileSize(kMaxNameLength, std::numeric_limits<std::int32_t>::max());
}

void DecodeCodesInto(const std::uint8_t* p, std::size_t count, std::int16_t* codes) {
  for (std::size_t i = 0; i < count; ++i, p += 2) {
    codes[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
  }
}

std::vector<std::int16_t> DecodeCodes(std::span<const std::uint8_t> bytes, std::size_t offset,
                                      std::int32_t nodes) {
  std::vector<std::int16_t> codes(static_cast<std::size_t>(nodes));
  DecodeCodesInto(bytes.data() + offset, codes.size(), codes.data());
  return codes;
}

}  // namespace

std::optional<double> HdmModel::Separation(std::size_t index) const noexcept {
  if (index >= codes.size() || codes[index] == kNullCode) {
    return std::nullopt;
  }
  return separationOffset + codes[index] / UnitsPerMetre(resolutionCode);
}

std::optional<double> HdmModel::SeparationOf(std::int16_t code) const noexcept {
  if (code == kNullCode) {
    return std::nullopt;
  }
  return separationOffset + code / UnitsPerMetre(resolutionCode);
}

HdmReadResult ReadHdm(std::span<const std::uint8_t> bytes) {
  if (auto problem = PrefixProblem(bytes, bytes.size()); !problem.empty()) {
    return Refuse(std::move(problem));
  }
  const std::size_t crcOffset = bytes.size() - kTrailerSize;
  if (auto problem = CrcProblem(GetU32(bytes.data() + crcOffset), Crc32(bytes.data(), crcOffset));
      !problem.empty()) {
    return Refuse(std::move(problem));
  }
  HdmReadResult result = DecodeSections(bytes);
  if (result.model) {
    result.model->codes =
        DecodeCodes(bytes, kNameOffset + result.model->ellipsoidName.size(), result.model->nodes);
  }
  return result;
}

HdmReadResult ReadHdmFile(const std::string& path) {
  const std::filesystem::path filePath = PathFromUtf8(path);
  std::error_code error;
  if (!std::filesystem::is_regular_file(filePath, error)) {
    return Refuse(path + (error ? ": cannot be opened" : ": is not a regular file"));
  }
  std::ifstream file(filePath, std::ios::binary | std::ios::ate);
  if (!file) {
    return Refuse(path + ": cannot be opened");
  }
  const std::streamoff size = file.tellg();
  if (TooLarge(size)) {
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

bool HdmNodes::ReadNode(std::int32_t row, std::int32_t column, std::int16_t& code) {
  const std::int64_t columns = Header().Columns();
  return ReadCodes(row * columns + column, 1, &code);
}

bool HdmNodes::ReadRows(std::int32_t firstRow, std::int32_t count,
                        std::vector<std::int16_t>& codes) {
  const std::int64_t columns = Header().Columns();
  const std::int64_t nodes = count * columns;
  if (firstRow < 0 || count < 0 || nodes > std::numeric_limits<std::int32_t>::max()) {
    codes.clear();
    return ReadCodes(-1, 0, nullptr);
  }
  codes.resize(static_cast<std::size_t>(nodes));
  return ReadCodes(firstRow * columns, static_cast<std::int32_t>(nodes), codes.data());
}

bool HdmMemoryNodes::ReadCodes(std::int64_t first, std::int32_t count, std::int16_t* codes) {
  if (first < 0 || count < 0 || first + count > static_cast<std::int64_t>(model_.codes.size())) {
    error_ = "nodes outside the model";
    return false;
  }
  std::copy_n(model_.codes.begin() + first, count, codes);
  return true;
}

std::unique_ptr<HdmFileReader> HdmFileReader::Open(const std::string& path, std::string& error) {
  const std::filesystem::path filePath = PathFromUtf8(path);
  std::error_code status;
  if (!std::filesystem::is_regular_file(filePath, status)) {
    error = path + (status ? ": cannot be opened" : ": is not a regular file");
    return nullptr;
  }
  std::unique_ptr<HdmFileReader> reader(new HdmFileReader());
  reader->path_ = path;
  std::ifstream& file = reader->file_;
  file.open(filePath, std::ios::binary | std::ios::ate);
  const std::streamoff size = file ? static_cast<std::streamoff>(file.tellg()) : -1;
  if (!file || size < 0) {
    error = path + ": cannot be opened";
    return nullptr;
  }
  if (TooLarge(size)) {
    error = path + ": is too large to be an HDM model";
    return nullptr;
  }
  // The header first, then the whole file once, in pieces, for the CRC.
  const auto fileSize = static_cast<std::uint64_t>(size);
  std::vector<std::uint8_t> prefix(
      static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, kNameOffset + kMaxNameLength)));
  file.seekg(0);
  if (!file.read(reinterpret_cast<char*>(prefix.data()),
                 static_cast<std::streamsize>(prefix.size()))) {
    error = path + ": cannot be read";
    return nullptr;
  }
  if (auto problem = PrefixProblem(prefix, fileSize); !problem.empty()) {
    error = path + ": " + problem;
    return nullptr;
  }
  constexpr std::size_t kPiece = 1 << 20;
  std::vector<std::uint8_t> piece(kPiece);
  std::uint32_t crc = 0, stored = 0;
  const std::uint64_t crcEnd = fileSize - kTrailerSize;  // the length check passed: > trailer
  file.seekg(0);
  for (std::uint64_t done = 0; done < fileSize;) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kPiece, fileSize - done));
    if (!file.read(reinterpret_cast<char*>(piece.data()), static_cast<std::streamsize>(n))) {
      error = path + ": cannot be read";
      return nullptr;
    }
    // The trailer may straddle two pieces; it is gathered apart and not fed to the CRC.
    const std::size_t covered =
        done >= crcEnd ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(n, crcEnd - done));
    crc = Crc32(piece.data(), covered, crc);
    for (std::size_t i = covered; i < n; ++i) {
      stored |= static_cast<std::uint32_t>(piece[i]) << (8 * (done + i - crcEnd));
    }
    done += n;
  }
  if (auto problem = CrcProblem(stored, crc); !problem.empty()) {
    error = path + ": " + problem;
    return nullptr;
  }
  HdmReadResult header = DecodeSections(prefix);
  if (!header.model) {
    error = path + ": " + header.error;
    return nullptr;
  }
  reader->header_ = std::move(*header.model);
  reader->codesOffset_ = kNameOffset + reader->header_.ellipsoidName.size();
  return reader;
}

bool HdmFileReader::ReadCodes(std::int64_t first, std::int32_t count, std::int16_t* codes) {
  if (first < 0 || count < 0 || first + count > header_.nodes) {
    error_ = path_ + ": nodes outside the model";
    return false;
  }
  std::vector<std::uint8_t> bytes(2 * static_cast<std::size_t>(count));
  file_.clear();
  file_.seekg(static_cast<std::streamoff>(codesOffset_ + 2 * static_cast<std::uint64_t>(first)));
  if (!file_.read(reinterpret_cast<char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()))) {
    error_ = path_ + ": cannot be read";
    return false;
  }
  DecodeCodesInto(bytes.data(), static_cast<std::size_t>(count), codes);
  return true;
}

}  // namespace hdm

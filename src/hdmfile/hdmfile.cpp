// The four entry points of the writer library. Each call reads the staging file that the
// previous calls left, checks it, and either extends it or, on any problem, deletes it so that
// the final call can never complete a model from a broken or stale start.

#include "hdmfile.h"

#include <cstring>
#include <exception>
#include <span>
#include <string>
#include <vector>

#include "crc32.h"
#include "file_io.h"
#include "hdm_layout.h"

namespace hdm {
namespace {

constexpr std::size_t kLargestStaging = kNameOffset + kMaxNameLength;
constexpr std::int32_t kNodesPerChunk = 32768;

std::string StagingPath(const char* path) noexcept {
  try {
    return std::string(path) + ".part";
  } catch (...) {
    return {};
  }
}

// The staging file of `path` when it holds exactly the sections up to `end` (the header, the
// body or the coordinate section) and they are valid; otherwise an empty vector.
std::vector<std::uint8_t> LoadStaging(const std::string& staging, std::size_t minimumSize) {
  auto bytes = ReadSmallFile(staging, kLargestStaging);
  if (!bytes || bytes->size() < minimumSize || !HasMagic(*bytes) ||
      DecodeVersion(*bytes) != kVersion) {
    return {};
  }
  return std::move(*bytes);
}

std::int16_t Fail(const std::string& staging, std::int16_t code) {
  RemoveIfPresent(staging.c_str());
  return code;
}

std::int16_t WriteHeader(const char* path) {
  std::vector<std::uint8_t> bytes;
  AppendHeader(bytes);
  const std::string staging = StagingPath(path);
  return WriteWholeFile(staging, bytes) ? HDM_OK : Fail(staging, HDM_E_IO);
}

std::int16_t WriteBody(const char* path, std::int16_t bodyFlags, std::int32_t n) {
  const std::string staging = StagingPath(path);
  const BodySection body{bodyFlags, n};
  if (BodyProblem(body) != nullptr) {
    return Fail(staging, HDM_E_ARGUMENT);
  }
  std::vector<std::uint8_t> bytes = LoadStaging(staging, kHeaderSize);
  if (bytes.size() != kHeaderSize) {
    return Fail(staging, HDM_E_SEQUENCE);
  }
  AppendBody(bytes, body);
  return WriteWholeFile(staging, bytes) ? HDM_OK : Fail(staging, HDM_E_IO);
}

std::int16_t WriteCoord(const char* path, const CoordSection& coord) {
  const std::string staging = StagingPath(path);
  std::vector<std::uint8_t> bytes = LoadStaging(staging, kCoordOffset);
  if (bytes.size() != kCoordOffset) {
    return Fail(staging, HDM_E_SEQUENCE);
  }
  const BodySection body = DecodeBody(bytes);
  if (BodyProblem(body) != nullptr) {
    return Fail(staging, HDM_E_SEQUENCE);
  }
  if (CoordProblem(coord, body) != nullptr) {
    return Fail(staging, HDM_E_INCONSISTENT);
  }
  AppendCoord(bytes, coord);
  return WriteWholeFile(staging, bytes) ? HDM_OK : Fail(staging, HDM_E_IO);
}

// Encodes and appends the separations of nodes 1..n in chunks, keeping the running CRC.
std::int16_t AppendSeparations(OutputFile& file, const double* pointList, std::int32_t n,
                               const CoordSection& coord, std::uint32_t& crc) {
  const double unitsPerMetre = UnitsPerMetre(coord.resolutionCode);
  std::vector<std::uint8_t> chunk;
  chunk.reserve(2 * static_cast<std::size_t>(kNodesPerChunk));
  for (std::int32_t node = 1; node <= n; ++node) {
    const double* p = pointList + 4 * static_cast<std::size_t>(node);
    std::int16_t code = 0;
    if (!EncodeSeparation(p[2], p[3], coord.separationOffset, unitsPerMetre, code)) {
      return HDM_E_RANGE;
    }
    const auto raw = static_cast<std::uint16_t>(code);
    chunk.push_back(static_cast<std::uint8_t>(raw & 0xFFu));
    chunk.push_back(static_cast<std::uint8_t>(raw >> 8));
    if (chunk.size() == chunk.capacity() || node == n) {
      crc = Crc32(chunk.data(), chunk.size(), crc);
      if (!file.Write(chunk.data(), chunk.size())) {
        return HDM_E_IO;
      }
      chunk.clear();
    }
  }
  return HDM_OK;
}

std::int16_t CompleteModel(const std::string& staging, const std::vector<std::uint8_t>& sections,
                           const CoordSection& coord, const double* pointList, std::int32_t n) {
  std::uint32_t crc = Crc32(sections.data(), sections.size());
  OutputFile file(staging, OutputFile::Mode::kAppend);
  if (!file.IsOpen()) {
    return HDM_E_IO;
  }
  if (const auto result = AppendSeparations(file, pointList, n, coord, crc); result != HDM_OK) {
    return result;
  }
  std::vector<std::uint8_t> trailer;
  PutU32(trailer, crc);
  return file.Write(trailer.data(), trailer.size()) && file.Commit() ? HDM_OK : HDM_E_IO;
}

std::int16_t WritePoints(const char* path, const double* pointList, std::int32_t n,
                         double separationOffset) {
  if (pointList == nullptr || n < 1) {
    return HDM_E_ARGUMENT;
  }
  const std::string staging = StagingPath(path);
  const std::vector<std::uint8_t> sections = LoadStaging(staging, kNameOffset);
  if (sections.empty() || sections.size() != kNameOffset + DecodeNameLength(sections)) {
    return HDM_E_SEQUENCE;
  }
  const BodySection body = DecodeBody(sections);
  const CoordSection coord = DecodeCoord(sections);
  if (BodyProblem(body) != nullptr || CoordProblem(coord, body) != nullptr) {
    return HDM_E_SEQUENCE;
  }
  if (n != body.nodes || separationOffset != coord.separationOffset) {
    return HDM_E_INCONSISTENT;
  }
  if (const auto result = CompleteModel(staging, sections, coord, pointList, n); result != HDM_OK) {
    return result;
  }
  return RenameReplacing(staging, path) ? HDM_OK : HDM_E_IO;
}

// No exception may cross the C border: anything thrown inside (memory exhaustion) is a failure.
template <typename Body>
std::int16_t Guarded(const char* path, Body body) noexcept {
  if (path == nullptr || *path == '\0') {
    return HDM_E_ARGUMENT;
  }
  try {
    return body();
  } catch (...) {
    RemoveIfPresent(StagingPath(path).c_str());
    return HDM_E_IO;
  }
}

}  // namespace
}  // namespace hdm

extern "C" {

int16_t WriteHeaderFileHDM(const char* path) {
  return hdm::Guarded(path, [&] { return hdm::WriteHeader(path); });
}

int16_t WriteBodyFileHDM(const char* path, int16_t bodyFlags, int32_t n) {
  return hdm::Guarded(path, [&] { return hdm::WriteBody(path, bodyFlags, n); });
}

int16_t WriteCoordTypeFileHDM(const char* path, int16_t coordinateType, int16_t resolutionCode,
                              double firstX, double firstY, double lastX, double lastY,
                              double spacingX, double spacingY, double separationOffset,
                              int32_t rows, int32_t n, const char* ellipsoidName,
                              double semiMajorAxis, double flattening) {
  return hdm::Guarded(path, [&]() -> int16_t {
    if (ellipsoidName == nullptr || std::strlen(ellipsoidName) > hdm::kMaxNameLength) {
      return hdm::Fail(hdm::StagingPath(path), HDM_E_ARGUMENT);
    }
    const hdm::CoordSection coord{.coordinateType = coordinateType,
                                  .resolutionCode = resolutionCode,
                                  .firstX = firstX,
                                  .firstY = firstY,
                                  .lastX = lastX,
                                  .lastY = lastY,
                                  .spacingX = spacingX,
                                  .spacingY = spacingY,
                                  .separationOffset = separationOffset,
                                  .rows = rows,
                                  .nodes = n,
                                  .semiMajorAxis = semiMajorAxis,
                                  .flattening = flattening,
                                  .ellipsoidName = ellipsoidName};
    return hdm::WriteCoord(path, coord);
  });
}

int16_t WritePtsFileHDM(const char* path, const double* pointList, int32_t n,
                        double separationOffset) {
  const int16_t result =
      hdm::Guarded(path, [&] { return hdm::WritePoints(path, pointList, n, separationOffset); });
  if (result != HDM_OK) {
    hdm::RemoveIfPresent(hdm::StagingPath(path).c_str());
    hdm::RemoveIfPresent(path);
  }
  return result;
}

}  // extern "C"

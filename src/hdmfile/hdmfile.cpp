// The four entry points of the writer library. The first three calls only gather the sections of
// a model in memory, keyed by the path they are given; the fourth encodes the separations and
// commits the whole model through a staging file, so a model appears at its path only when it is
// complete and an earlier file there survives every failure. A failure in any call is kept and
// reported again by the fourth, so the caller, who tests only that one, learns the first cause.

#include "hdmfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "hdm_layout.h"
#include "staged_file.h"
#include "utf8_path.h"

namespace hdm {
namespace {

constexpr std::int32_t kNodesPerChunk = 32768;

enum class Stage { kHeader, kBody, kCoord };

// What the first three calls gathered for one path.
struct PendingModel {
  Stage stage = Stage::kHeader;
  std::vector<std::uint8_t> sections;
  std::int16_t failure = HDM_OK;  // the first failure of the sequence, kept for the last call
};

class PendingModels {
 public:
  void Start(const std::string& path) {
    const std::lock_guard<std::mutex> lock(mutex_);
    PendingModel& model = models_[path];
    model = PendingModel{};
    AppendHeader(model.sections);
  }

  // Runs `step` on the model pending for `path` when it stands at `expected`; a missing model or
  // one at another stage is a sequence failure. A failure is kept for the last call.
  template <typename Step>
  std::int16_t Advance(const std::string& path, Stage expected, Stage next, Step step) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = models_.find(path);
    if (found == models_.end()) {
      return HDM_E_SEQUENCE;
    }
    PendingModel& model = found->second;
    if (model.failure != HDM_OK) {
      return model.failure;
    }
    const std::int16_t result = model.stage == expected ? step(model) : HDM_E_SEQUENCE;
    if (result == HDM_OK) {
      model.stage = next;
    } else {
      model.failure = result;
    }
    return result;
  }

  // Takes the model pending for `path` out of the table; false when there is none.
  bool Take(const std::string& path, PendingModel& out) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto found = models_.find(path);
    if (found == models_.end()) {
      return false;
    }
    out = std::move(found->second);
    models_.erase(found);
    return true;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, PendingModel> models_;
};

PendingModels& Pending() {
  static PendingModels pending;
  return pending;
}

std::int16_t WriteBody(const char* path, std::int16_t bodyFlags, std::int32_t n) {
  const BodySection body{bodyFlags, n};
  return Pending().Advance(path, Stage::kHeader, Stage::kBody, [&](PendingModel& model) {
    if (BodyProblem(body) != nullptr) {
      return static_cast<std::int16_t>(HDM_E_ARGUMENT);
    }
    AppendBody(model.sections, body);
    return static_cast<std::int16_t>(HDM_OK);
  });
}

std::int16_t WriteCoord(const char* path, const CoordSection& coord) {
  return Pending().Advance(path, Stage::kBody, Stage::kCoord, [&](PendingModel& model) {
    if (CoordProblem(coord, DecodeBody(model.sections)) != nullptr) {
      return static_cast<std::int16_t>(HDM_E_INCONSISTENT);
    }
    AppendCoord(model.sections, coord);
    return static_cast<std::int16_t>(HDM_OK);
  });
}

// Encodes nodes 1..n and appends them in chunks, then the CRC of everything before it.
std::int16_t AppendSeparations(StagedFile& file, const std::vector<std::uint8_t>& sections,
                               const double* pointList, std::int32_t n, const CoordSection& coord) {
  if (!file.Write(sections.data(), sections.size())) {
    return HDM_E_IO;
  }
  const double unitsPerMetre = UnitsPerMetre(coord.resolutionCode);
  std::vector<std::uint8_t> chunk(2 * static_cast<std::size_t>(std::min(n, kNodesPerChunk)));
  for (std::int32_t first = 1; first <= n; first += kNodesPerChunk) {
    const std::int32_t count = std::min(kNodesPerChunk, n - first + 1);
    const double* p = pointList + 4 * static_cast<std::size_t>(first);
    for (std::int32_t i = 0; i < count; ++i, p += 4) {
      std::int16_t code = 0;
      if (!EncodeSeparation(p[2], p[3], coord.separationOffset, unitsPerMetre, code)) {
        return HDM_E_RANGE;
      }
      const auto raw = static_cast<std::uint16_t>(code);
      chunk[2 * static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(raw & 0xFFu);
      chunk[2 * static_cast<std::size_t>(i) + 1] = static_cast<std::uint8_t>(raw >> 8);
    }
    if (!file.Write(chunk.data(), 2 * static_cast<std::size_t>(count))) {
      return HDM_E_IO;
    }
  }
  std::vector<std::uint8_t> trailer;
  PutU32(trailer, file.Crc());  // the file's CRC so far is the CRC of everything written
  return file.Write(trailer.data(), trailer.size()) ? HDM_OK : HDM_E_IO;
}

// Writes the model into a staging file and commits it; `error` receives the system's reason for an
// input/output failure.
std::int16_t CommitModel(const std::filesystem::path& target, const PendingModel& model,
                         const double* pointList, std::int32_t n, const CoordSection& coord,
                         int& error) {
  StagedFile file(target);
  std::int16_t result = HDM_E_IO;
  if (file.IsOpen()) {
    result = AppendSeparations(file, model.sections, pointList, n, coord);
    if (result == HDM_OK && !file.Commit()) {
      result = HDM_E_IO;
    }
  }
  error = file.Error() != 0 ? file.Error() : EIO;
  return result;
}

std::int16_t WritePoints(const char* path, const double* pointList, std::int32_t n,
                         double separationOffset) {
  PendingModel model;
  if (!Pending().Take(path, model)) {
    return HDM_E_SEQUENCE;
  }
  if (model.failure != HDM_OK) {
    return model.failure;
  }
  if (model.stage != Stage::kCoord) {
    return HDM_E_SEQUENCE;
  }
  if (pointList == nullptr || n < 1) {
    return HDM_E_ARGUMENT;
  }
  const BodySection body = DecodeBody(model.sections);
  const CoordSection coord = DecodeCoord(model.sections);
  if (n != body.nodes || separationOffset != coord.separationOffset) {
    return HDM_E_INCONSISTENT;
  }
  const std::filesystem::path target = PathFromUtf8(path);
  RemoveAbandonedStagingFiles(target);
  int error = 0;
  const std::int16_t result = CommitModel(target, model, pointList, n, coord, error);
  if (result == HDM_E_IO) {
    errno = error;  // set only now that the staging file is gone, which may touch errno
  }
  return result;
}

// No exception may cross the C border: anything thrown inside (memory exhaustion) is a failure.
// A path that is not UTF-8 text (on Windows) names no file.
template <typename Body>
std::int16_t Guarded(const char* path, Body body) noexcept {
  if (path == nullptr || *path == '\0') {
    return HDM_E_ARGUMENT;
  }
  try {
    if (PathFromUtf8(path).empty()) {
      return HDM_E_ARGUMENT;
    }
    return body();
  } catch (...) {
    errno = ENOMEM;
    return HDM_E_IO;
  }
}

}  // namespace
}  // namespace hdm

extern "C" {

int16_t WriteHeaderFileHDM(const char* path) {
  return hdm::Guarded(path, [&] {
    hdm::Pending().Start(path);
    return static_cast<int16_t>(HDM_OK);
  });
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
    const bool nameFits =
        ellipsoidName != nullptr && std::strlen(ellipsoidName) <= hdm::kMaxNameLength;
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
                                  .ellipsoidName = nameFits ? ellipsoidName : ""};
    if (!nameFits) {
      return hdm::Pending().Advance(path, hdm::Stage::kBody, hdm::Stage::kCoord,
                                    [](hdm::PendingModel&) { return int16_t{HDM_E_ARGUMENT}; });
    }
    return hdm::WriteCoord(path, coord);
  });
}

int16_t WritePtsFileHDM(const char* path, const double* pointList, int32_t n,
                        double separationOffset) {
  return hdm::Guarded(path, [&] { return hdm::WritePoints(path, pointList, n, separationOffset); });
}

}  // extern "C"

#pragma once

// Reads an HDM model file back. The reader trusts nothing in the file: it checks the magic, the
// version, the exact length that the stored counts imply, the CRC-32 trailer and every section's
// values before it hands out a model.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hdm {

struct HdmModel {
  std::int16_t coordinateType = 0;  // 1 geographical (radians), 2 grid (metres)
  std::int16_t resolutionCode = 0;  // 1 millimetres, 2 centimetres
  std::int16_t bodyFlags = 0;
  std::int32_t nodes = 0;
  std::int32_t rows = 0;
  double firstX = 0, firstY = 0, lastX = 0, lastY = 0;
  double spacingX = 0, spacingY = 0;
  double separationOffset = 0;  // metres
  std::string ellipsoidName;
  double semiMajorAxis = 0;  // metres
  double flattening = 0;
  std::vector<std::int16_t> codes;  // one per node in file order; kNullCode marks no value

  /// Nodes per row as the file implies it: nodes / rows, rounded down.
  std::int32_t Columns() const noexcept { return nodes / rows; }
  /// Separation of node `index` (0-based, file order) in metres, or nullopt for a node without
  /// value.
  std::optional<double> Separation(std::size_t index) const noexcept;
};

/// Either a model or the reason the bytes are not one.
struct HdmReadResult {
  std::optional<HdmModel> model;
  std::string error;
};

/// Decodes a complete model from `bytes`; the error does not name a file.
HdmReadResult ReadHdm(std::span<const std::uint8_t> bytes);

/// Reads and decodes the model at `path`; every error starts with the path.
HdmReadResult ReadHdmFile(const std::string& path);

}  // namespace hdm

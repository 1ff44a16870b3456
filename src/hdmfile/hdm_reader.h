#pragma once

// Reads an HDM model file back. The reader trusts nothing in the file: it checks the magic, the
// version, the exact length that the stored counts imply, the CRC-32 trailer and every section's
// values before it hands out a model. A model is read either whole (ReadHdm, ReadHdmFile) or by
// random access (HdmFileReader), which checks the whole file once and then reads single nodes or
// blocks of rows from the disk.

#include <cstdint>
#include <fstream>
#include <memory>
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
  /// A stored code in metres, or nullopt for kNullCode.
  std::optional<double> SeparationOf(std::int16_t code) const noexcept;
  /// True when the nodes fill rows × Columns() exactly.
  bool IsRegular() const noexcept { return nodes > 0 && rows > 0 && nodes % rows == 0; }
};

/// Either a model or the reason the bytes are not one.
struct HdmReadResult {
  std::optional<HdmModel> model;
  std::string error;
};

/// Decodes a complete model from `bytes`; the error does not name a file.
HdmReadResult ReadHdm(std::span<const std::uint8_t> bytes);

/// Reads and decodes the model at `path` (UTF-8); every error starts with the path.
HdmReadResult ReadHdmFile(const std::string& path);

/// The separation codes of a model by position, wherever they are kept. Node k of file order lies
/// on row k / Columns() and column k mod Columns().
class HdmNodes {
 public:
  virtual ~HdmNodes() = default;
  /// The model's header; its `codes` may be empty.
  virtual const HdmModel& Header() const noexcept = 0;
  /// Copies the codes of the `count` nodes from node `first` (file order) to `codes`. False when
  /// they lie outside the model or cannot be read; Error() then tells why.
  virtual bool ReadCodes(std::int64_t first, std::int32_t count, std::int16_t* codes) = 0;
  virtual const std::string& Error() const noexcept = 0;

  /// The code of the node on `row` and `column`.
  bool ReadNode(std::int32_t row, std::int32_t column, std::int16_t& code);
  /// The codes of `count` whole rows from `firstRow`, in file order, replacing `codes`.
  bool ReadRows(std::int32_t firstRow, std::int32_t count, std::vector<std::int16_t>& codes);
};

/// The codes of a model read whole; `model` must outlive this.
class HdmMemoryNodes final : public HdmNodes {
 public:
  explicit HdmMemoryNodes(const HdmModel& model) noexcept : model_(model) {}
  const HdmModel& Header() const noexcept override { return model_; }
  bool ReadCodes(std::int64_t first, std::int32_t count, std::int16_t* codes) override;
  const std::string& Error() const noexcept override { return error_; }

 private:
  const HdmModel& model_;
  std::string error_;
};

/// A model file opened for random access. Open() makes every check of ReadHdmFile, the CRC-32
/// over the whole file included (read once, in pieces, never held whole), and keeps only the
/// header in memory; afterwards each ReadCodes seeks to the nodes it needs and reads them alone.
class HdmFileReader final : public HdmNodes {
 public:
  /// The reader of the model at `path` (UTF-8), or nullptr with `error` (starting with the path)
  /// when the file is no model.
  static std::unique_ptr<HdmFileReader> Open(const std::string& path, std::string& error);

  const HdmModel& Header() const noexcept override { return header_; }
  bool ReadCodes(std::int64_t first, std::int32_t count, std::int16_t* codes) override;
  const std::string& Error() const noexcept override { return error_; }

 private:
  HdmFileReader() = default;

  std::string path_;
  std::ifstream file_;
  HdmModel header_;
  std::uint64_t codesOffset_ = 0;
  std::string error_;
};

}  // namespace hdm

#pragma once

#include <cstdint>
#include <limits>
#include <vector>

namespace hextant {

/// Separation of a node without value, in metres.
inline constexpr double NullSeparation = 32767.0;
/// `GeoidPoint::NullFlag` of a node without value; nodes with a value hold 0.0.
inline constexpr double NullFlagSet = -1.0;

/// One node of a geoid model. X is easting or longitude, Y northing or latitude: radians for a
/// geographical model, metres for a grid model. Separation is in metres.
struct GeoidPoint {
  double X = 0.0;
  double Y = 0.0;
  double Separation = 0.0;
  double NullFlag = 0.0;
};

/// The nodes of a model as one dense block of doubles, four per node (X, Y, Separation,
/// NullFlag), rows 0..n one after another. Row 0 always exists and is never a node, so the block
/// can be handed unchanged to the writer library, which expects 4 × (n + 1) doubles.
class PointList {
 public:
  static constexpr int kFieldsPerNode = 4;
  static constexpr std::int32_t kMaxNodes = std::numeric_limits<std::int32_t>::max() - 1;

  PointList() : values_(kFieldsPerNode, 0.0) {}

  /// The number of nodes n (the number of the last row).
  std::int32_t Count() const noexcept {
    return static_cast<std::int32_t>(values_.size() / kFieldsPerNode) - 1;
  }

  /// Makes the list hold nodes 1..n, keeping existing nodes and zeroing new ones. Returns false,
  /// leaving the list unchanged, when n is outside 0..kMaxNodes or memory runs out.
  bool Resize(std::int32_t n) noexcept;
  /// Reserves room for n nodes; false when n is out of range or memory runs out.
  bool Reserve(std::int32_t n) noexcept;
  /// Adds a node after the last one; false when the list is full or memory runs out.
  bool Append(const GeoidPoint& point) noexcept;
  /// Drops every node, keeping row 0.
  void Clear() noexcept { values_.resize(kFieldsPerNode); }

  /// Node `row` (0..n); the caller keeps `row` in range.
  GeoidPoint Node(std::int32_t row) const noexcept {
    const double* p = Row(row);
    return GeoidPoint{p[0], p[1], p[2], p[3]};
  }
  void SetNode(std::int32_t row, const GeoidPoint& point) noexcept {
    double* p = Row(row);
    p[0] = point.X;
    p[1] = point.Y;
    p[2] = point.Separation;
    p[3] = point.NullFlag;
  }

  /// The block of 4 × (n + 1) doubles, row 0 first.
  double* Data() noexcept { return values_.data(); }
  const double* Data() const noexcept { return values_.data(); }

 private:
  double* Row(std::int32_t row) noexcept {
    return values_.data() + static_cast<std::size_t>(row) * kFieldsPerNode;
  }
  const double* Row(std::int32_t row) const noexcept {
    return values_.data() + static_cast<std::size_t>(row) * kFieldsPerNode;
  }

  std::vector<double> values_;
};

}  // namespace hextant

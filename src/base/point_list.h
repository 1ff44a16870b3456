#pragma once

#include <cstdint>
#include <limits>

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
/// can be handed unchanged to the writer library, which expects 4 × (n + 1) doubles. The block
/// grows geometrically without copying where the system can move pages, and is never filled with
/// values that are overwritten anyway.
class PointList {
 public:
  static constexpr int kFieldsPerNode = 4;
  static constexpr std::int32_t kMaxNodes = std::numeric_limits<std::int32_t>::max() - 1;

  PointList();
  ~PointList();
  PointList(const PointList& other);
  PointList& operator=(const PointList& other);
  PointList(PointList&& other) noexcept;
  PointList& operator=(PointList&& other) noexcept;

  /// The number of nodes n (the number of the last row).
  std::int32_t Count() const noexcept { return count_; }
  /// The number of nodes the block has room for before it must grow (and may move).
  std::int32_t Capacity() const noexcept { return capacity_; }

  /// Makes the list hold nodes 1..n, keeping existing nodes and zeroing new ones. Returns false,
  /// leaving the list unchanged, when n is outside 0..kMaxNodes or memory runs out.
  bool Resize(std::int32_t n) noexcept;
  /// Resize without zeroing the new nodes: the caller sets every one of them before reading it.
  bool ResizeForOverwrite(std::int32_t n) noexcept;
  /// Reserves room for n nodes; false when n is out of range or memory runs out.
  bool Reserve(std::int32_t n) noexcept;
  /// Makes room for n nodes the way appending them one by one does, doubling the block; false
  /// when n is out of range or memory runs out.
  bool ReserveForAppend(std::int32_t n) noexcept {
    while (capacity_ < n) {
      if (n > kMaxNodes || !Grow()) {
        return false;
      }
    }
    return true;
  }
  /// Gives back the room reserved beyond the last node.
  void ShrinkToFit() noexcept;
  /// Adds a node after the last one; false when the list is full or memory runs out.
  bool Append(const GeoidPoint& point) noexcept {
    if (count_ == capacity_ && !Grow()) {
      return false;
    }
    ++count_;
    SetNode(count_, point);
    return true;
  }
  /// Adds `count` nodes after the last one, as many calls of Append would; false, leaving the
  /// list unchanged, when they do not fit or memory runs out.
  bool Append(const GeoidPoint* points, std::int32_t count) noexcept;
  /// Drops every node, keeping row 0.
  void Clear() noexcept { count_ = 0; }

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
  double* Data() noexcept { return data_; }
  const double* Data() const noexcept { return data_; }

 private:
  bool Grow() noexcept;
  bool Reallocate(std::int32_t capacity) noexcept;
  double* Row(std::int32_t row) noexcept {
    return data_ + static_cast<std::size_t>(row) * kFieldsPerNode;
  }
  const double* Row(std::int32_t row) const noexcept {
    return data_ + static_cast<std::size_t>(row) * kFieldsPerNode;
  }

  double* data_ = nullptr;     // rows 0..capacity_, row 0 all zero
  std::int32_t count_ = 0;     // nodes in use
  std::int32_t capacity_ = 0;  // nodes the block has room for
};

}  // namespace hextant

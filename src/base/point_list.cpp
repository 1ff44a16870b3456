#include "base/point_list.h"

#include <new>

namespace hextant {
namespace {

std::size_t DoublesFor(std::int32_t n) {
  return (static_cast<std::size_t>(n) + 1) * PointList::kFieldsPerNode;
}

}  // namespace

bool PointList::Resize(std::int32_t n) noexcept {
  if (n < 0 || n > kMaxNodes) {
    return false;
  }
  try {
    values_.resize(DoublesFor(n), 0.0);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool PointList::Reserve(std::int32_t n) noexcept {
  if (n < 0 || n > kMaxNodes) {
    return false;
  }
  try {
    values_.reserve(DoublesFor(n));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

bool PointList::Append(const GeoidPoint& point) noexcept {
  if (Count() >= kMaxNodes) {
    return false;
  }
  try {
    values_.insert(values_.end(), {point.X, point.Y, point.Separation, point.NullFlag});
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

}  // namespace hextant

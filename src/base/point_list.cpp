#include "base/point_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#include "base/prefault.h"

namespace hextant {
namespace {

constexpr std::size_t kRowBytes = sizeof(double) * PointList::kFieldsPerNode;
constexpr std::int32_t kFirstCapacity = 64;

std::size_t BytesFor(std::int32_t capacity) {
  return (static_cast<std::size_t>(capacity) + 1) * kRowBytes;
}

}  // namespace

PointList::PointList() {
  data_ = static_cast<double*>(std::calloc(1, kRowBytes));
  if (data_ == nullptr) {
    throw std::bad_alloc();
  }
}

PointList::~PointList() {
  std::free(data_);
}

PointList::PointList(const PointList& other) : PointList() {
  *this = other;
}

PointList& PointList::operator=(const PointList& other) {
  if (this != &other) {
    if (!Reallocate(other.count_)) {
      throw std::bad_alloc();
    }
    std::memcpy(data_, other.data_, BytesFor(other.count_));
    count_ = other.count_;
  }
  return *this;
}

// The moved-from list is left without a block; only destroying or assigning to it is meant.
PointList::PointList(PointList&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

PointList& PointList::operator=(PointList&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(count_, other.count_);
  std::swap(capacity_, other.capacity_);
  return *this;
}

// Makes room for exactly `capacity` nodes (never fewer than in use). realloc moves the pages of a
// large block without copying them. Huge pages: the block is written once, node by node, and
// filling small pages costs about ten times as much here; room never written stays unmapped.
bool PointList::Reallocate(std::int32_t capacity) noexcept {
  capacity = std::max(capacity, count_);
  void* grown = std::realloc(data_, BytesFor(capacity));
  if (grown == nullptr) {
    return false;
  }
  AdviseHugePages(grown, BytesFor(capacity));
  data_ = static_cast<double*>(grown);
  capacity_ = capacity;
  return true;
}

bool PointList::Grow() noexcept {
  if (capacity_ >= kMaxNodes) {
    return false;
  }
  const std::int64_t doubled = std::max<std::int64_t>(kFirstCapacity, std::int64_t{capacity_} * 2);
  return Reallocate(static_cast<std::int32_t>(std::min<std::int64_t>(doubled, kMaxNodes)));
}

bool PointList::Reserve(std::int32_t n) noexcept {
  if (n < 0 || n > kMaxNodes) {
    return false;
  }
  return n <= capacity_ || Reallocate(n);
}

bool PointList::ResizeForOverwrite(std::int32_t n) noexcept {
  if (!Reserve(n)) {
    return false;
  }
  count_ = n;
  return true;
}

bool PointList::Resize(std::int32_t n) noexcept {
  const std::int32_t old = count_;
  if (!ResizeForOverwrite(n)) {
    return false;
  }
  if (n > old) {
    std::memset(Row(old + 1), 0, static_cast<std::size_t>(n - old) * kRowBytes);
  }
  return true;
}

bool PointList::Append(const GeoidPoint* points, std::int32_t count) noexcept {
  static_assert(sizeof(GeoidPoint) == kRowBytes);
  if (count <= 0) {
    return count == 0;
  }
  if (!ReserveForAppend(static_cast<std::int32_t>(
          std::min<std::int64_t>(std::int64_t{count_} + count, std::int64_t{kMaxNodes} + 1)))) {
    return false;
  }
  std::memcpy(Row(count_ + 1), points, static_cast<std::size_t>(count) * kRowBytes);
  count_ += count;
  return true;
}

void PointList::ShrinkToFit() noexcept {
  if (capacity_ > count_) {
    Reallocate(count_);  // a refused shrink keeps the larger block, which is as good
  }
}

}  // namespace hextant

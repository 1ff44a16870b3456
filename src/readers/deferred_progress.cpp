#include "readers/deferred_progress.h"

#include <cmath>
#include <limits>

#include "readers/reader_progress.h"

namespace hextant {

void DeferredProgress::Step(std::int64_t index, std::uint64_t consumed) {
  const int percent = ReadPercent(size_, consumed + 1);
  if (steps_.empty() || steps_.back().percent != percent) {
    steps_.push_back({percent, index});
  }
  if (size_ == 0) {
    nextStep_ = std::numeric_limits<std::uint64_t>::max();  // an empty file stays at 0 %
    return;
  }
  // Estimate the first position past this percentage, then settle it on ReadPercent itself.
  auto next = static_cast<std::uint64_t>(
      std::ceil(static_cast<double>(percent + 1) * static_cast<double>(size_) / 100.0));
  next = next > 0 ? next - 1 : 0;
  while (next > consumed && ReadPercent(size_, next) > percent) {
    --next;
  }
  while (ReadPercent(size_, next + 1) <= percent) {
    ++next;
  }
  nextStep_ = next;
}

int DeferredProgress::PercentAt(std::int64_t index) noexcept {
  while (asked_ + 1 < steps_.size() && steps_[asked_ + 1].firstIndex <= index) {
    ++asked_;
  }
  return steps_.empty() ? 0 : steps_[asked_].percent;
}

}  // namespace hextant

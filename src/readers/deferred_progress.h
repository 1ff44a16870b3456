#pragma once

// Lets a reader that reads its file once show the progress of a second pass over the same lines
// afterwards, exactly as that pass would have shown it: while reading, it notes at which counted
// line the percentage of the read position steps up; later it tells the percentage of any
// counted line. It keeps one entry per percentage step, not one per line.

#include <cstdint>
#include <vector>

namespace hextant {

class DeferredProgress {
 public:
  /// `size` is the file's size in bytes, as the progress report is given it.
  explicit DeferredProgress(std::uint64_t size) noexcept : size_(size) {}

  /// Notes that counted line `index` (1, 2, ... in order) ends after `consumed` bytes.
  void Note(std::int64_t index, std::uint64_t consumed) {
    if (consumed >= nextStep_) {
      Step(index, consumed);
    }
  }
  /// The first position at which Note would note a step: lines that end before it need not be
  /// noted.
  std::uint64_t NextStep() const noexcept { return nextStep_; }
  /// The percentage ReadPercent gives after counted line `index`; indexes are asked in
  /// increasing order, each of them noted before.
  int PercentAt(std::int64_t index) noexcept;

 private:
  struct PercentStep {
    int percent;
    std::int64_t firstIndex;
  };
  void Step(std::int64_t index, std::uint64_t consumed);

  std::uint64_t size_;
  std::uint64_t nextStep_ = 0;  // the first position whose percentage is above the last step's
  std::vector<PercentStep> steps_;
  std::size_t asked_ = 0;
};

}  // namespace hextant

#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>

#include "readers/generic_layout.h"
#include "readers/generic_pass.h"
#include "readers/reader_progress.h"
#include "readers/reader_support.h"

namespace hextant {

/// How the generic reader spreads its work over threads.
struct GenericReadPlan {
  /// Threads that read blocks of lines into points; 0 reads line by line on the calling thread.
  unsigned Threads = 0;
  /// The most bytes of a block.
  std::size_t BlockBytes = 512 << 10;
};

/// Two reading threads where the machine has two cores or more, otherwise none.
GenericReadPlan DefaultGenericReadPlan() noexcept;

/// The rest of a generic source read in blocks of whole lines: worker threads read the blocks
/// into points, while the calling thread reads the file, hands the blocks out and takes them into
/// the pass in file order. Only the calling thread reports progress, checks for a stop request
/// and touches the settings. A block the pass cannot take as a whole (an error in it, or a line
/// too long for a block) is read line by line, and so is everything after it.
class ChunkedRead {
 public:
  ChunkedRead(GenericPass& pass, const GenericLayout& layout, const GenericReadPlan& plan,
              std::uint64_t size, ReadProgress& progress)
      : pass_(pass), layout_(layout), plan_(plan), size_(size), progress_(progress) {}

  /// Reads what `lines`, which reads `source`, has not handed out yet; false when the user
  /// stopped the read.
  bool Run(std::istream& source, SourceLines& lines);

 private:
  GenericPass& pass_;
  const GenericLayout& layout_;
  GenericReadPlan plan_;
  std::uint64_t size_;
  ReadProgress& progress_;
};

}  // namespace hextant

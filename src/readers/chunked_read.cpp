#include "readers/chunked_read.h"

#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "readers/chunk_workers.h"
#include "text/joined_stream_buffer.h"
#include "text/line_blocks.h"

namespace hextant {
namespace {

constexpr unsigned kMostThreads = 2;

// Blocks in flight, block i in slot i % slots: at most a few blocks of lines and their points
// are held at any time, whatever the size of the file. A slot's job reads its block into points
// or, once the block is taken, copies the points into the point list, so that the copy and the
// page faults of the growing list fall on the workers and not on the thread that hands out work.
class Pipeline {
 public:
  Pipeline(std::istream& source, std::string_view unread, const GenericLayout& layout,
           const GenericReadPlan& plan)
      : blocks_(source, plan.BlockBytes, unread),
        chunks_(2 * plan.Threads + 2),
        copies_(chunks_.size()) {
    workers_.emplace(plan.Threads, chunks_.size(), [this, &layout](std::size_t slot) {
      if (copies_[slot].To != nullptr) {
        CopyPoints(chunks_[slot], copies_[slot]);
      } else {
        chunks_[slot].Parse(layout, LineReader::kDefaultLineLimit);
      }
    });
  }
  ~Pipeline() { FinishCopies(); }
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  /// Reads blocks and hands them to the workers until every slot is busy or the file is read.
  void Fill() {
    while (!inputDone_ && started_ - taken_ < chunks_.size()) {
      const std::size_t slot = started_ % chunks_.size();
      FinishCopy(slot);
      const LineBlocks::Cut cut = blocks_.Next(chunks_[slot].Bytes);
      if (cut == LineBlocks::Cut::End) {
        inputDone_ = true;
        return;
      }
      ++started_;
      inputDone_ = cut != LineBlocks::Cut::Lines;
      if (cut == LineBlocks::Cut::LongLine) {
        chunks_[slot].ReadAgain = true;  // one line fills the block: read it line by line
        return;
      }
      workers_->Start(slot);
    }
  }
  /// The oldest block not taken yet, once its workers are done; nullptr when none is left.
  const GenericChunk* Oldest() {
    if (taken_ == started_) {
      return nullptr;
    }
    const std::size_t slot = taken_ % chunks_.size();
    workers_->Wait(slot);
    return &chunks_[slot];
  }
  /// Marks the oldest block taken; its points, if `copy` has any, are copied on a worker.
  void TakeOldest(const GenericPass::PendingCopy& copy) {
    const std::size_t slot = taken_ % chunks_.size();
    ++taken_;
    if (copy.Count > 0) {
      copies_[slot] = copy;
      workers_->Start(slot);
    }
  }
  /// Waits for every copy still running; the point list may be read or grown afterwards.
  void FinishCopies() {
    for (std::size_t slot = 0; slot < chunks_.size(); ++slot) {
      FinishCopy(slot);
    }
  }
  /// Ends the workers and gives the bytes of the blocks not taken and of those read ahead.
  std::vector<std::string_view> Untaken() {
    FinishCopies();
    workers_.reset();
    std::vector<std::string_view> pieces;
    for (std::uint64_t i = taken_; i < started_; ++i) {
      pieces.push_back(chunks_[i % chunks_.size()].Bytes.View());
    }
    pieces.push_back(blocks_.Held());
    return pieces;
  }

 private:
  void FinishCopy(std::size_t slot) {
    if (copies_[slot].To != nullptr) {
      workers_->Wait(slot);
      copies_[slot] = GenericPass::PendingCopy{};
    }
  }

  LineBlocks blocks_;
  std::vector<GenericChunk> chunks_;
  std::vector<GenericPass::PendingCopy> copies_;  // a copy queued or running in each slot
  std::optional<ChunkWorkers> workers_;           // ends before the blocks it reads
  std::uint64_t started_ = 0;
  std::uint64_t taken_ = 0;
  bool inputDone_ = false;
};

}  // namespace

GenericReadPlan DefaultGenericReadPlan() noexcept {
  const unsigned cores = std::thread::hardware_concurrency();
  GenericReadPlan plan;
  plan.Threads = cores == 1 ? 0 : kMostThreads;
  return plan;
}

bool ChunkedRead::Run(std::istream& source, SourceLines& lines) {
  std::string_view unread;
  if (plan_.Threads == 0 || !lines.Unread(unread)) {
    return pass_.Lines(lines, 0);
  }
  std::optional<Pipeline> pipeline;
  try {
    pipeline.emplace(source, unread, layout_, plan_);
  } catch (const std::system_error&) {
    return pass_.Lines(lines, 0);  // no threads to be had: nothing was read from the stream yet
  }
  std::uint64_t linesBefore = lines.LinesRead();
  std::uint64_t consumed = lines.Consumed();
  for (;;) {
    pipeline->Fill();
    const GenericChunk* chunk = pipeline->Oldest();
    if (chunk == nullptr) {
      return true;
    }
    if (!pass_.HasRoomFor(*chunk)) {
      pipeline->FinishCopies();  // the list may move as it grows
    }
    GenericPass::PendingCopy copy;
    const GenericPass::Taken taken = pass_.Chunk(*chunk, linesBefore, consumed, &copy);
    if (taken == GenericPass::Taken::Stopped) {
      return false;
    }
    if (taken == GenericPass::Taken::ReadAgain) {
      JoinedStreamBuffer rest(pipeline->Untaken(), source.rdbuf());
      std::istream restStream(&rest);
      SourceLines restLines(restStream, size_, progress_, consumed);
      return pass_.Lines(restLines, linesBefore);
    }
    linesBefore += chunk->LineEnds.size();
    consumed += chunk->Bytes.size;
    pipeline->TakeOldest(copy);
  }
}

}  // namespace hextant

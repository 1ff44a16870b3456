#include "readers/chunked_read.h"

#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "base/invariant.h"
#include "base/point_list.h"
#include "readers/chunk_workers.h"
#include "text/joined_stream_buffer.h"
#include "text/line_blocks.h"

namespace hextant {
namespace {

constexpr unsigned kMostThreads = 2;

// Blocks in flight, block i in slot i % slots: at most a few blocks of lines and their points
// are held at any time, whatever the size of the file. Once a block is taken, its points wait in
// their slot until the slot's next job, which copies them into the point list and then reads the
// slot's new block: the thread that hands out work never waits for a copy before it refills a
// slot, and the copy and the page faults of the list fall on the workers.
class Pipeline {
 public:
  Pipeline(std::istream& source, std::string_view unread, const GenericLayout& layout,
           const GenericReadPlan& plan)
      : blocks_(source, plan.BlockBytes, unread),
        chunks_(2 * plan.Threads + 2),
        copies_(chunks_.size()),
        reads_(chunks_.size(), 0) {
    workers_.emplace(plan.Threads, chunks_.size(), [this, &layout](std::size_t slot) {
      CopyPoints(chunks_[slot], copies_[slot]);
      copies_[slot] = GenericPass::PendingCopy{};
      if (reads_[slot]) {
        chunks_[slot].Parse(layout, LineReader::kDefaultLineLimit);
      }
    });
  }
  ~Pipeline() { FinishCopies(); }
  Pipeline(const Pipeline&) = delete;
  Pipeline& operator=(const Pipeline&) = delete;

  /// Reads blocks and hands them to the workers until every slot is busy or the file is read.
  /// The slot refilled next holds no block in flight; its last job ended before its block was
  /// taken, and its points, if they still wait, are copied by the job it gets now.
  void Fill() {
    while (!inputDone_ && started_ - taken_ < chunks_.size()) {
      const std::size_t slot = started_ % chunks_.size();
      HEXTANT_INVARIANT(workers_->Idle(slot), "ChunkedRead: a slot is refilled while its job runs");
      const LineBlocks::Cut cut = blocks_.Next(chunks_[slot].Bytes);
      if (cut == LineBlocks::Cut::End) {
        inputDone_ = true;
        break;
      }
      ++started_;
      inputDone_ = cut != LineBlocks::Cut::Lines;
      if (cut == LineBlocks::Cut::LongLine) {
        chunks_[slot].ReadAgain = true;  // one line fills the block: read it line by line
        break;
      }
      reads_[slot] = 1;
      workers_->Start(slot);
    }
    if (inputDone_ && !lastCopiesStarted_) {
      lastCopiesStarted_ = true;  // no slot is refilled any more
      StartWaitingCopies();
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
    HEXTANT_INVARIANT(taken_ < started_ && workers_->Idle(slot),
                      "ChunkedRead: a block is taken that was not read or whose job runs");
    ++taken_;
    copies_[slot] = copy;
    copiesPending_ = copiesPending_ || copy.Count > 0;
    reads_[slot] = 0;
    if (inputDone_) {
      StartCopy(slot);  // no block will come to this slot
    }
  }
  /// Waits for every job and runs every copy still waiting; the point list may be read or grown
  /// afterwards.
  void FinishCopies() {
    if (!workers_) {
      return;  // ended by Untaken, every copy done
    }
    WaitForAll();
    StartWaitingCopies();
    WaitForAll();
    copiesPending_ = false;
  }
  /// True from the taking of a block whose points wait for their copy until FinishCopies: until
  /// then the point list must stay where it is, and not grow.
  bool CopiesPending() const noexcept { return copiesPending_; }
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
  void WaitForAll() {
    for (std::size_t slot = 0; slot < chunks_.size(); ++slot) {
      workers_->Wait(slot);
    }
  }
  // Starts the copy-only jobs of the slots whose points wait and that get no job otherwise. A
  // slot with a block in flight has had its copy done by the job that read the block.
  void StartWaitingCopies() {
    for (std::size_t slot = 0; slot < chunks_.size(); ++slot) {
      if (!reads_[slot]) {
        StartCopy(slot);
      }
    }
  }
  void StartCopy(std::size_t slot) {
    workers_->Wait(slot);
    if (copies_[slot].To != nullptr) {
      reads_[slot] = 0;
      workers_->Start(slot);
    }
  }

  LineBlocks blocks_;
  std::vector<GenericChunk> chunks_;
  std::vector<GenericPass::PendingCopy> copies_;  // points of a taken block, waiting in its slot
  // Whether the slot's job reads a new block; bytes, not the bits of vector<bool>, which the
  // workers would share with the thread that sets them.
  std::vector<std::uint8_t> reads_;
  std::optional<ChunkWorkers> workers_;  // ends before the blocks it reads
  std::uint64_t started_ = 0;
  std::uint64_t taken_ = 0;
  bool inputDone_ = false;
  bool lastCopiesStarted_ = false;
  bool copiesPending_ = false;
};

// Where the point list's block is and how many points it has room for: a pending copy writes
// into that block, so neither may change until the copy is done.
struct ListPlace {
  const double* Data;
  std::int32_t Capacity;

  explicit ListPlace(const PointList& list) : Data(list.Data()), Capacity(list.Capacity()) {}
  bool operator==(const ListPlace&) const = default;
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
    const bool copiesPending = pipeline->CopiesPending();
    const ListPlace before(pass_.Points());
    GenericPass::PendingCopy copy;
    const GenericPass::Taken taken = pass_.Chunk(*chunk, linesBefore, consumed, &copy);
    HEXTANT_INVARIANT(!copiesPending || ListPlace(pass_.Points()) == before,
                      "ChunkedRead: the point list grew while copies into it were pending");
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

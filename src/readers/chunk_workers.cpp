#include "readers/chunk_workers.h"

#include <utility>

#include "base/invariant.h"

namespace hextant {

ChunkWorkers::ChunkWorkers(unsigned threads, std::size_t slots,
                           std::function<void(std::size_t slot)> job)
    : job_(std::move(job)), done_(slots, true) {
  try {
    threads_.reserve(threads);
    for (unsigned i = 0; i < threads; ++i) {
      threads_.emplace_back([this] { Work(); });
    }
  } catch (...) {
    End();  // the threads that did start
    throw;
  }
}

ChunkWorkers::~ChunkWorkers() {
  End();
}

void ChunkWorkers::End() noexcept {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  queued_.notify_all();
  for (std::thread& thread : threads_) {
    thread.join();
  }
}

void ChunkWorkers::Start(std::size_t slot) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    HEXTANT_INVARIANT(slot < done_.size(), "ChunkWorkers::Start: no such slot");
    // A second job on a busy slot would run beside the first on the same data, and Wait would
    // return when either ends.
    HEXTANT_INVARIANT(done_[slot], "ChunkWorkers::Start: the slot's last job has not ended");
    done_[slot] = false;
    queue_.push_back(slot);
  }
  queued_.notify_one();
}

void ChunkWorkers::Wait(std::size_t slot) {
  std::unique_lock<std::mutex> lock(mutex_);
  HEXTANT_INVARIANT(slot < done_.size(), "ChunkWorkers::Wait: no such slot");
  finished_.wait(lock, [&] { return done_[slot]; });
}

bool ChunkWorkers::Idle(std::size_t slot) {
  std::lock_guard<std::mutex> lock(mutex_);
  HEXTANT_INVARIANT(slot < done_.size(), "ChunkWorkers::Idle: no such slot");
  return done_[slot];
}

void ChunkWorkers::Work() {
  for (;;) {
    std::size_t slot = 0;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      queued_.wait(lock, [&] { return ending_ || !queue_.empty(); });
      if (ending_) {
        return;
      }
      slot = queue_.front();
      queue_.pop_front();
    }
    job_(slot);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_[slot] = true;
    }
    finished_.notify_all();
  }
}

}  // namespace hextant

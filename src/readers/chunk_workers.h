#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace hextant {

/// Worker threads that run one job on each of a fixed number of slots (numbered 0..slots-1),
/// in the order the slots are handed in. The thread that hands the slots in waits for each
/// slot's job before it uses the slot again, so a slot is never touched by two threads at once;
/// starting a slot whose job is queued or running, or one out of range, aborts the program.
/// Ending the object lets running jobs finish, drops the waiting ones and joins the threads.
class ChunkWorkers {
 public:
  /// `job` runs on the worker threads and must not throw. Throws std::system_error when a thread
  /// cannot be started.
  ChunkWorkers(unsigned threads, std::size_t slots, std::function<void(std::size_t slot)> job);
  ~ChunkWorkers();
  ChunkWorkers(const ChunkWorkers&) = delete;
  ChunkWorkers& operator=(const ChunkWorkers&) = delete;

  /// Queues the job of `slot`, which must be idle.
  void Start(std::size_t slot);
  /// Waits until the job of `slot` has run.
  void Wait(std::size_t slot);
  /// True when `slot` has no job queued or running: its data is the caller's.
  bool Idle(std::size_t slot);

 private:
  void Work();
  void End() noexcept;

  std::function<void(std::size_t)> job_;
  std::mutex mutex_;
  std::condition_variable queued_;
  std::condition_variable finished_;
  std::deque<std::size_t> queue_;
  std::vector<bool> done_;
  bool ending_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace hextant

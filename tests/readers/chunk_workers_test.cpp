#include "readers/chunk_workers.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>

namespace hextant::test {
namespace {

// Each case misuses the slots of two workers on three slots whose jobs wait for `release`, and
// must stop the program with the reason instead of running two jobs on one slot's data or
// touching a slot that does not exist.
TEST(ChunkWorkersDeathTest, StopsOnASlotThatIsBusyOrMissing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct Case {
    const char* what;
    std::function<void(ChunkWorkers&)> misuse;
  };
  const Case cases[] = {
      {"ChunkWorkers::Start: the slot's last job has not ended",
       [](ChunkWorkers& workers) {
         workers.Start(1);
         workers.Start(1);
       }},
      {"ChunkWorkers::Start: no such slot", [](ChunkWorkers& workers) { workers.Start(3); }},
      {"ChunkWorkers::Wait: no such slot", [](ChunkWorkers& workers) { workers.Wait(3); }},
  };
  for (const Case& c : cases) {
    const auto run = [&] {
      std::promise<void> release;
      const std::shared_future<void> released = release.get_future().share();
      ChunkWorkers workers(2, 3, [released](std::size_t) { released.wait(); });
      c.misuse(workers);
      release.set_value();  // not reached when the misuse is caught; otherwise no job hangs
      workers.Wait(1);
    };
    EXPECT_DEATH(run(), std::string("internal error: ") + c.what) << c.what;
  }
}

}  // namespace
}  // namespace hextant::test

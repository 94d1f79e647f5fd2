// The connection threads: one per task up to the cap, the rest waiting for
// a free one, idle threads ending, and shutdown running what was queued.
#include <gtest/gtest.h>

#include <atomic>
#include <latch>

#include "rpc/connection_workers.h"

namespace fw {
namespace {

TEST(ConnectionWorkers, ThreadPerTaskUpToTheCapThenWaitAndIdleOnesEnd) {
  TConnectionWorkers workers(4, std::chrono::milliseconds(50));
  std::latch started(4);
  std::atomic<bool> release{false};
  std::atomic<int> done{0};
  for (int i = 0; i < 6; ++i)
    workers.enqueue([&] {
      started.count_down();
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ++done;
    });
  started.wait();  // four run at once although none has finished
  EXPECT_EQ(workers.ThreadCount(), 4u);
  EXPECT_EQ(done, 0);
  release = true;
  for (int i = 0; i < 2000 && workers.ThreadCount() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(done, 6);  // the two beyond the cap ran on freed threads
  EXPECT_EQ(workers.ThreadCount(), 0u);  // and every thread ended when idle

  for (int i = 0; i < 3; ++i) workers.enqueue([&] { ++done; });
  workers.shutdown();
  EXPECT_EQ(done, 9);
  workers.enqueue([&] { ++done; });  // dropped after shutdown
  EXPECT_EQ(done, 9);
}

}  // namespace
}  // namespace fw

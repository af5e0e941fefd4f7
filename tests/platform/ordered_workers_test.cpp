// The ordered worker pipeline: results come in list order whatever order the
// workers finish in, no more than twice the workers are under way, a follower
// starts after its leader's commit, and failures reach the consumer thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "platform/OrderedWorkers.h"

namespace platform {
namespace {

TEST(OrderedWorkersTest, ResultsComeInListOrderWithABoundedWindow) {
  constexpr std::size_t kItems = 40;
  constexpr int kThreads = 4;
  std::atomic<int> started{0};
  std::atomic<int> committed{0};
  std::atomic<int> mostAhead{0};
  OrderedWorkers<std::size_t> workers(kItems, kThreads, [&](std::size_t k) {
    const int ahead = ++started - committed.load();
    int seen = mostAhead.load();
    while (ahead > seen && !mostAhead.compare_exchange_weak(seen, ahead)) {
    }
    // Later items finish first.
    std::this_thread::sleep_for(std::chrono::microseconds(200 * ((kItems - k) % 7)));
    return k * k;
  });
  for (std::size_t k = 0; k < kItems; ++k) {
    EXPECT_EQ(workers.Take(k), k * k);
    ++committed;
    workers.Committed(k);
  }
  EXPECT_LE(mostAhead.load(), 2 * kThreads);
}

TEST(OrderedWorkersTest, AFollowerStartsOnlyAfterItsLeaderWasCommitted) {
  std::atomic<bool> leaderCommitted{false};
  std::atomic<bool> followerSawCommit{false};
  OrderedWorkers<int> workers(
      3, 3,
      [&](std::size_t k) {
        if (k == 2) followerSawCommit = leaderCommitted.load();
        return static_cast<int>(k);
      },
      [](std::size_t k) { return k == 2 ? std::optional<std::size_t>(0) : std::nullopt; });
  EXPECT_EQ(workers.Take(0), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  leaderCommitted = true;
  workers.Committed(0);
  EXPECT_EQ(workers.Take(1), 1);
  workers.Committed(1);
  EXPECT_EQ(workers.Take(2), 2);
  EXPECT_TRUE(followerSawCommit.load());
}

TEST(OrderedWorkersTest, AFailureIsRethrownByTakeAndTheOthersStillCome) {
  OrderedWorkers<int> workers(3, 2, [](std::size_t k) -> int {
    if (k == 1) throw std::runtime_error("item 1 is broken");
    return static_cast<int>(k);
  });
  EXPECT_EQ(workers.Take(0), 0);
  workers.Committed(0);
  EXPECT_THROW((void)workers.Take(1), std::runtime_error);
  workers.Committed(1);
  EXPECT_EQ(workers.Take(2), 2);
}

TEST(OrderedWorkersTest, StoppingEarlyDropsWhatWasNotTakenAndWaitingRunsTheIdleWork) {
  std::atomic<int> computed{0};
  std::atomic<int> idle{0};
  {
    // Item 0 is done only once the idle work has run (or after ten seconds,
    // when the wait never runs it), so a loaded machine cannot pass or fail it by timing.
    OrderedWorkers<int> workers(100, 2, [&](std::size_t k) {
      const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (k == 0 && idle.load() == 0 && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
      ++computed;
      return static_cast<int>(k);
    });
    EXPECT_EQ(workers.Take(0, [&] { ++idle; }, std::chrono::milliseconds(5)), 0);
    workers.Committed(0);
  }
  EXPECT_GT(idle.load(), 0);
  EXPECT_LE(computed.load(), 1 + 4);
  EXPECT_EQ(WorkerCount(3, 8), 3);
  EXPECT_EQ(WorkerCount(0, 8), 1);
  EXPECT_EQ(WorkerCount(10, 4), 4);
  EXPECT_GE(WorkerCount(1000, 0), 1);
}

}  // namespace
}  // namespace platform

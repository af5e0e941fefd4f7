// Splitting a loop over worker threads: every item once, parts in order,
// failures handed back to the caller, and the caller free while parts run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <numeric>
#include <stdexcept>
#include <vector>

#include "platform/ParallelFor.h"

namespace {

using platform::ParallelFor;

TEST(ParallelForTest, EveryItemRunsOnceAndPerPartResultsMergeToTheSameTotal) {
  std::vector<long long> totals;
  for (int threads : {1, 2, 4, 7}) {
    ParallelFor pool(threads);
    ASSERT_EQ(pool.Parts(), threads);
    std::vector<std::atomic<int>> seen(1001);
    std::vector<long long> perPart(static_cast<std::size_t>(pool.Parts()), 0);
    // Several loops on the same workers.
    for (int round = 0; round < 3; ++round) {
      pool.Run(seen.size(), [&](int part, std::size_t first, std::size_t last) {
        for (std::size_t i = first; i < last; ++i) {
          ++seen[i];
          perPart[static_cast<std::size_t>(part)] += static_cast<long long>(i * i);
        }
      });
    }
    for (const auto& s : seen) EXPECT_EQ(s.load(), 3);
    totals.push_back(std::accumulate(perPart.begin(), perPart.end(), 0LL));
  }
  EXPECT_EQ(totals, std::vector<long long>(4, totals[0]));
}

TEST(ParallelForTest, TheCallerWaitsInSlicesAndGetsTheFirstFailureOnce) {
  ParallelFor pool(3);
  std::atomic<bool> release{false};
  pool.Start(3, [&](int part, std::size_t, std::size_t) {
    while (!release) std::this_thread::yield();
    if (part == 1) throw std::runtime_error("part 1 failed");
  });
  EXPECT_FALSE(pool.WaitFor(std::chrono::milliseconds(1)));
  EXPECT_THROW(pool.Start(1, [](int, std::size_t, std::size_t) {}), std::logic_error);
  release = true;
  EXPECT_THROW(pool.Wait(), std::runtime_error);
  // The failure is reported once; the pool goes on working.
  EXPECT_TRUE(pool.WaitFor(std::chrono::milliseconds(0)));
  int calls = 0;
  pool.Run(1, [&](int, std::size_t first, std::size_t last) { calls += static_cast<int>(last - first); });
  EXPECT_EQ(calls, 1);
}

}  // namespace

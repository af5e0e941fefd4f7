#pragma once
// Splitting a loop over worker threads. The range [0, count) is cut into one
// contiguous part per worker; each part runs on its own thread and writes
// only results of its own (a slot indexed by the part number), and the caller
// merges those results in part order once the loop has finished, so the
// outcome never depends on which thread ran first.
//
// The workers live as long as the object, so a loop run many times (in
// batches) starts its threads once. Start returns at once, so the calling
// thread can keep the user interface alive while the parts run:
//
//   platform::ParallelFor pool(threads);
//   std::vector<Histogram> perPart(pool.Parts());
//   pool.Start(count, [&](int part, std::size_t first, std::size_t last) { ... perPart[part] ... });
//   while (!pool.WaitFor(std::chrono::milliseconds(20))) CProgressBar::PumpMessages();
//   for (const Histogram& h : perPart) total += h;  // part order
//
// The body must not touch the user interface, message boxes or files that
// another part writes.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

// The number of threads the machine runs at once (at least 1).
[[nodiscard]] int HardwareThreads();

class ParallelFor {
 public:
  using Body = std::function<void(int part, std::size_t first, std::size_t last)>;

  // `threads` workers, one part each; 0 or less means HardwareThreads().
  explicit ParallelFor(int threads = 0);
  // Waits for a loop still running (its failure is dropped), then ends the workers.
  ~ParallelFor();
  ParallelFor(const ParallelFor&) = delete;
  ParallelFor& operator=(const ParallelFor&) = delete;

  [[nodiscard]] int Parts() const { return static_cast<int>(workers_.size()); }

  // Runs `body` on every non-empty part of [0, count) and returns at once.
  // Throws std::logic_error while a loop started before is still unfinished.
  void Start(std::size_t count, Body body);
  // Waits up to `timeout` for the loop started last; true once every part
  // has returned. The first exception a part threw is rethrown here, once.
  [[nodiscard]] bool WaitFor(std::chrono::milliseconds timeout);
  void Wait();
  // Start and Wait.
  void Run(std::size_t count, Body body);

  // The range [first, last) of part `part` of `parts` over `count` items:
  // contiguous, in part order, sizes differing by at most one.
  [[nodiscard]] static std::pair<std::size_t, std::size_t> PartRange(std::size_t count, int parts, int part);

 private:
  void Work(int part);
  void RethrowFailure();

  std::vector<std::thread> workers_;
  std::mutex mutex_;
  std::condition_variable started_;
  std::condition_variable finished_;
  Body body_;
  std::size_t count_ = 0;
  std::uint64_t generation_ = 0;
  int running_ = 0;
  bool stopping_ = false;
  std::exception_ptr failure_;
};

}  // namespace platform

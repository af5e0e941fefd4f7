#pragma once
// Runs the compute step of a list of items on worker threads while one
// consumer thread (the user-interface thread) takes the results in list
// order and commits them itself:
//
//   OrderedWorkers<Result> workers(n, threads, compute, mustFollow);
//   for (std::size_t k = 0; k < n; ++k) {
//     if (cancelled) break;                     // nothing after k is committed
//     Result result = workers.Take(k, pump);    // waits, running `pump` meanwhile
//     Commit(result);
//     workers.Committed(k);
//   }
//
// At most twice as many items as threads are computed or waiting to be
// taken at any time. An item whose `mustFollow` names an earlier item starts
// only after that item was committed (it reads what the commit wrote). An
// exception thrown by a compute step is caught on its worker and rethrown by
// Take on the consumer thread. The destructor lets the running steps finish,
// starts no more, and joins the threads; results not taken are dropped.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "platform/ParallelFor.h"

namespace platform {

// The number of worker threads for `items` items: `requested` when it is
// positive, else the machine's hardware threads; never more than the items,
// never fewer than one.
[[nodiscard]] inline int WorkerCount(std::size_t items, int requested) {
  const int threads = requested > 0 ? requested : HardwareThreads();
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(threads), std::max<std::size_t>(items, 1)));
}

template <class Result>
class OrderedWorkers {
 public:
  using Compute = std::function<Result(std::size_t index)>;
  // The earlier item that must be committed before `index` starts, if any.
  using MustFollow = std::function<std::optional<std::size_t>(std::size_t index)>;

  OrderedWorkers(std::size_t count, int threads, Compute compute, MustFollow mustFollow = {})
      : compute_(std::move(compute)), mustFollow_(std::move(mustFollow)), slots_(count),
        window_(2 * static_cast<std::size_t>(std::max(threads, 1))) {
    const int n = std::max(threads, 1);
    threads_.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) threads_.emplace_back([this] { Work(); });
  }

  ~OrderedWorkers() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
  }

  OrderedWorkers(const OrderedWorkers&) = delete;
  OrderedWorkers& operator=(const OrderedWorkers&) = delete;

  // The result of item `index`, which must be the next one not yet taken.
  // Runs `whileWaiting` (without the lock) about every `pause` until it is ready.
  Result Take(std::size_t index, const std::function<void()>& whileWaiting = {},
              std::chrono::milliseconds pause = std::chrono::milliseconds(20)) {
    std::unique_lock lock(mutex_);
    Slot& slot = slots_[index];
    while (!slot.done) {
      if (whileWaiting) {
        changed_.wait_for(lock, pause, [&] { return slot.done; });
        if (slot.done) break;
        lock.unlock();
        whileWaiting();
        lock.lock();
      } else {
        changed_.wait(lock, [&] { return slot.done; });
      }
    }
    if (slot.error) std::rethrow_exception(std::exchange(slot.error, nullptr));
    Result result = std::move(*slot.result);
    slot.result.reset();
    return result;
  }

  // Item `index` is committed: its followers may start, and the window moves on.
  void Committed(std::size_t index) {
    {
      std::lock_guard lock(mutex_);
      slots_[index].committed = true;
      committed_ = std::max(committed_, index + 1);
    }
    changed_.notify_all();
  }

 private:
  struct Slot {
    bool done = false;
    bool committed = false;
    std::optional<Result> result;
    std::exception_ptr error;
  };

  // Whether the next item may start now (called with the lock held).
  [[nodiscard]] bool MayStart() const {
    if (next_ >= slots_.size() || next_ >= committed_ + window_) return false;
    if (!mustFollow_) return true;
    const std::optional<std::size_t> first = mustFollow_(next_);
    return !first || slots_[*first].committed;
  }

  void Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [&] { return stopping_ || next_ >= slots_.size() || MayStart(); });
      if (stopping_ || next_ >= slots_.size()) return;
      const std::size_t index = next_++;
      lock.unlock();
      std::optional<Result> result;
      std::exception_ptr error;
      try {
        result.emplace(compute_(index));
      } catch (...) {
        error = std::current_exception();
      }
      lock.lock();
      slots_[index].result = std::move(result);
      slots_[index].error = error;
      slots_[index].done = true;
      changed_.notify_all();
    }
  }

  Compute compute_;
  MustFollow mustFollow_;
  std::vector<Slot> slots_;
  const std::size_t window_;
  std::size_t next_ = 0;       // the next item to start
  std::size_t committed_ = 0;  // one past the last committed item
  bool stopping_ = false;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::thread> threads_;
};

}  // namespace platform

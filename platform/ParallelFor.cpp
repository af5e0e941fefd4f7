#include "platform/ParallelFor.h"

#include <algorithm>
#include <stdexcept>

namespace platform {

int HardwareThreads() {
  const unsigned n = std::thread::hardware_concurrency();
  return n == 0 ? 1 : static_cast<int>(n);
}

ParallelFor::ParallelFor(int threads) {
  const int parts = threads > 0 ? threads : HardwareThreads();
  workers_.reserve(static_cast<std::size_t>(parts));
  for (int part = 0; part < parts; ++part) workers_.emplace_back([this, part] { Work(part); });
}

ParallelFor::~ParallelFor() {
  std::unique_lock<std::mutex> lock(mutex_);
  finished_.wait(lock, [this] { return running_ == 0; });
  stopping_ = true;
  lock.unlock();
  started_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

std::pair<std::size_t, std::size_t> ParallelFor::PartRange(std::size_t count, int parts, int part) {
  const auto n = static_cast<std::size_t>(parts);
  const auto p = static_cast<std::size_t>(part);
  const std::size_t base = count / n;
  const std::size_t extra = count % n;
  const std::size_t first = p * base + std::min(p, extra);
  return {first, first + base + (p < extra ? 1 : 0)};
}

void ParallelFor::Start(std::size_t count, Body body) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (running_ != 0) throw std::logic_error("ParallelFor::Start while a loop is running");
    body_ = std::move(body);
    count_ = count;
    running_ = Parts();
    ++generation_;
  }
  started_.notify_all();
}

bool ParallelFor::WaitFor(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!finished_.wait_for(lock, timeout, [this] { return running_ == 0; })) return false;
  lock.unlock();
  RethrowFailure();
  return true;
}

void ParallelFor::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  finished_.wait(lock, [this] { return running_ == 0; });
  lock.unlock();
  RethrowFailure();
}

void ParallelFor::Run(std::size_t count, Body body) {
  Start(count, std::move(body));
  Wait();
}

void ParallelFor::RethrowFailure() {
  std::exception_ptr failure;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    std::swap(failure, failure_);
  }
  if (failure) std::rethrow_exception(failure);
}

void ParallelFor::Work(int part) {
  std::uint64_t seen = 0;
  for (;;) {
    std::unique_lock<std::mutex> lock(mutex_);
    started_.wait(lock, [&] { return stopping_ || generation_ != seen; });
    if (stopping_) return;
    seen = generation_;
    // Start does not replace the body before every part has finished with it.
    const Body& body = body_;
    const auto [first, last] = PartRange(count_, Parts(), part);
    lock.unlock();
    std::exception_ptr failure;
    if (first < last) {
      try {
        body(part, first, last);
      } catch (...) {
        failure = std::current_exception();
      }
    }
    lock.lock();
    if (failure && !failure_) failure_ = failure;
    if (--running_ == 0) {
      lock.unlock();
      finished_.notify_all();
    }
  }
}

}  // namespace platform

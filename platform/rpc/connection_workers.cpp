#include "rpc/connection_workers.h"

namespace fw {

TConnectionWorkers::TConnectionWorkers(size_t maxThreads, std::chrono::milliseconds idleTimeout)
    : maxThreads_(maxThreads < 1 ? 1 : maxThreads), idleTimeout_(idleTimeout) {}

TConnectionWorkers::~TConnectionWorkers() { shutdown(); }

size_t TConnectionWorkers::ThreadCount() const {
  std::lock_guard lock(mutex_);
  return threads_.size();
}

TConnectionWorkers::TThreads TConnectionWorkers::TakeRetired() {
  TThreads done;
  done.splice(done.end(), retired_);
  return done;
}

void TConnectionWorkers::enqueue(std::function<void()> task) {
  TThreads done;
  {
    std::lock_guard lock(mutex_);
    done = TakeRetired();
    if (shutdown_) return;
    tasks_.push_back(std::move(task));
    if (idle_ >= tasks_.size()) {
      wake_.notify_one();
    } else if (threads_.size() < maxThreads_) {
      // The new thread waits for the lock, so it sees its own place.
      auto self = threads_.emplace(threads_.end());
      *self = std::thread([this, self] { Work(self); });
    }
  }
  for (std::thread& t : done) t.join();  // they have left Work already
}

void TConnectionWorkers::Work(TThreads::iterator self) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (tasks_.empty()) {
      if (shutdown_) return;
      ++idle_;
      bool woken = wake_.wait_for(lock, idleTimeout_, [this] { return !tasks_.empty() || shutdown_; });
      --idle_;
      if (!woken) {
        retired_.splice(retired_.end(), threads_, self);
        return;
      }
      continue;
    }
    std::function<void()> task = std::move(tasks_.front());
    tasks_.pop_front();
    lock.unlock();
    task();
    task = nullptr;  // what the task holds goes before the lock is taken
    lock.lock();
  }
}

void TConnectionWorkers::shutdown() {
  TThreads all;
  {
    std::lock_guard lock(mutex_);
    shutdown_ = true;
    all.splice(all.end(), threads_);
    all.splice(all.end(), retired_);
  }
  wake_.notify_all();
  for (std::thread& t : all)
    if (t.joinable()) t.join();
}

}  // namespace fw

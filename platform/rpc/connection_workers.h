// The threads that serve an HTTP server's connections.
//
// cpp-httplib gives each connection to one task for its whole life,
// idle keep-alive time and slow request headers included. A fixed pool
// lets a handful of slow or idle clients take every thread while the
// others wait; here each connection gets a thread of its own as soon as
// it arrives, up to `maxThreads`, and a thread idle for `idleTimeout`
// ends. Beyond the cap a connection waits for the next thread free.
// The task queue owns its threads; enqueue and shutdown may be called
// from any thread. shutdown runs the tasks already queued, then joins
// every thread; tasks enqueued after it are dropped. Raises only what
// std::thread raises when no thread can be made.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

#include <httplib.h>

namespace fw {

class TConnectionWorkers : public httplib::TaskQueue {
 public:
  explicit TConnectionWorkers(size_t maxThreads,
                              std::chrono::milliseconds idleTimeout = std::chrono::seconds(5));
  ~TConnectionWorkers() override;

  void enqueue(std::function<void()> task) override;
  void shutdown() override;

  size_t ThreadCount() const;

 private:
  using TThreads = std::list<std::thread>;
  void Work(TThreads::iterator self);
  TThreads TakeRetired();

  const size_t maxThreads_;
  const std::chrono::milliseconds idleTimeout_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> tasks_;
  TThreads threads_;  // running
  TThreads retired_;  // ended by idleness, not yet joined
  size_t idle_ = 0;
  bool shutdown_ = false;
};

}  // namespace fw

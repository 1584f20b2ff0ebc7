// A dispatcher without a GUI: posted work waits in a queue until the owning thread runs it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "platform/dispatcher.h"

namespace nimbalo {

class QueueDispatcher : public Dispatcher {
 public:
  void Post(std::function<void()> fn) override;
  void ProcessEvents() override;
  // Waits up to `timeout` for work, then runs all that is pending. True when something ran.
  bool WaitAndProcess(std::chrono::milliseconds timeout);
  // Processes events until `done()` is true or `timeout` passes. True when `done()` held.
  bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> queue_;
};

}  // namespace nimbalo

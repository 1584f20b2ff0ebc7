#include "platform/queue_dispatcher.h"

#include <utility>

namespace nimbalo {

namespace {
QueueDispatcher& DefaultDispatcher() {
  static QueueDispatcher instance;
  return instance;
}
Dispatcher* current = nullptr;
}  // namespace

Dispatcher& UiDispatcher() {
  return current != nullptr ? *current : DefaultDispatcher();
}

void SetUiDispatcher(Dispatcher* dispatcher) {
  current = dispatcher;
}

void QueueDispatcher::Post(std::function<void()> fn) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(fn));
  }
  ready_.notify_all();
}

void QueueDispatcher::ProcessEvents() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(queue_);
  }
  for (auto& fn : batch)
    fn();
}

bool QueueDispatcher::WaitAndProcess(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    if (!ready_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return false;
  }
  ProcessEvents();
  return true;
}

bool QueueDispatcher::RunUntil(const std::function<bool()>& done,
                               std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    WaitAndProcess(std::min<std::chrono::milliseconds>(
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now),
        std::chrono::milliseconds(50)));
  }
  return true;
}

}  // namespace nimbalo

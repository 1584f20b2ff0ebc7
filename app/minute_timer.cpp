#include "app/minute_timer.h"

#include <algorithm>
#include <chrono>

#include "platform/dispatcher.h"

namespace nimbalo {

std::int64_t SteadyTimerClock::NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

TimerService::TimerService(TimerClock& clock) : clock_(clock), last_(clock.NowMs()) {}

TimerService::~TimerService() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

TimerService& TimerService::Shared() {
  static SteadyTimerClock clock;
  static TimerService& service = []() -> TimerService& {
    static TimerService instance(clock);
    instance.StartThread();
    return instance;
  }();
  return service;
}

void TimerService::StartThread() {
  thread_ = std::thread(&TimerService::Run, this);
}

void TimerService::Poll() {
  DueTicks due;
  {
    std::lock_guard lock(mutex_);
    due = AdvanceLocked();
  }
  Deliver(due);
}

std::optional<std::int64_t> TimerService::NextTickAt() {
  std::lock_guard lock(mutex_);
  return NextTickAtLocked();
}

void TimerService::Register(const std::shared_ptr<Slot>& slot) {
  Change(*slot, [this, &slot](Slot&) { slots_.push_back(slot); });
}

void TimerService::Unregister(const Slot* slot) {
  // A later next tick needs no wake-up: the thread finds nothing due and sleeps again.
  std::lock_guard lock(mutex_);
  std::erase_if(slots_, [slot](const std::shared_ptr<Slot>& s) { return s.get() == slot; });
}

void TimerService::Change(Slot& slot, const std::function<void(Slot&)>& change) {
  DueTicks due;
  bool earlier = false;
  {
    std::lock_guard lock(mutex_);
    due = AdvanceLocked();
    const auto before = NextTickAtLocked();
    change(slot);
    const auto after = NextTickAtLocked();
    // Only a tick that is now due sooner needs the sleeping thread; handlers switch their
    // timer off and on every tick, and waking for that would double the idle wake-ups.
    earlier = after && (!before || *after < *before);
    if (earlier) ++changes_;
  }
  if (earlier) changed_.notify_all();
  Deliver(due);
}

// However long the wait was (a suspended machine), a timer gets at most one tick per poll and
// keeps only the remainder.
TimerService::DueTicks TimerService::AdvanceLocked() {
  const std::int64_t now = clock_.NowMs();
  const std::int64_t elapsed = std::max<std::int64_t>(0, now - last_);
  last_ = now;
  DueTicks due;
  for (const auto& slot : slots_) {
    if (!slot->active || slot->interval == 0) continue;
    slot->accumulated += elapsed;
    if (slot->accumulated >= slot->interval) {
      slot->accumulated %= slot->interval;
      due.push_back(slot);
    }
  }
  return due;
}

std::optional<std::int64_t> TimerService::NextTickAtLocked() const {
  std::optional<std::int64_t> next;
  for (const auto& slot : slots_) {
    if (!slot->active || slot->interval == 0) continue;
    const std::int64_t at = last_ + slot->interval - slot->accumulated;
    if (!next || at < *next) next = at;
  }
  return next;
}

void TimerService::Deliver(const DueTicks& due) {
  for (const auto& weak : due) {
    UiDispatcher().Post([weak] {
      if (const auto slot = weak.lock()) slot->owner->Tick();
    });
  }
}

void TimerService::Run() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    const DueTicks due = AdvanceLocked();
    if (!due.empty()) {
      lock.unlock();
      Deliver(due);
      lock.lock();
      continue;
    }
    const std::uint64_t seen = changes_;
    const auto woken = [this, seen] { return stopping_ || changes_ != seen; };
    if (const auto at = NextTickAtLocked()) {
      changed_.wait_for(
          lock, std::chrono::milliseconds(std::max<std::int64_t>(0, *at - clock_.NowMs())), woken);
    } else {
      changed_.wait(lock, woken);
    }
  }
}

MinuteTimer::MinuteTimer(TimerService& service)
    : service_(service), slot_(std::make_shared<TimerService::Slot>(this)) {
  service_.Register(slot_);
}

MinuteTimer::~MinuteTimer() {
  service_.Unregister(slot_.get());
}

void MinuteTimer::SetInterval(std::uint32_t milliseconds) {
  interval_ = milliseconds;
  service_.Change(*slot_, [milliseconds](TimerService::Slot& s) { s.interval = milliseconds; });
}

void MinuteTimer::SetActive(bool active) {
  active_ = active;
  service_.Change(*slot_, [active](TimerService::Slot& s) { s.active = active; });
}

void MinuteTimer::Reset() {
  count_ = 0;
  service_.Change(*slot_, [](TimerService::Slot& s) { s.accumulated = 0; });
}

// A tick that was already on its way when the timer was switched off is dropped.
void MinuteTimer::Tick() {
  if (!active_) return;
  ++count_;
  // A copy, so the handler may replace OnTimer or destroy this timer.
  const std::function<void()> handler = OnTimer;
  if (handler) handler();
}

}  // namespace nimbalo

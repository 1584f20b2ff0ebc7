// The counting timer of the main window: time accumulates towards `Interval` while the timer
// is active, and each tick is delivered on the user-interface thread. One timing thread serves
// every timer and sleeps until the next tick is due.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace nimbalo {

// A monotonic millisecond clock.
class TimerClock {
 public:
  virtual ~TimerClock() = default;
  virtual std::int64_t NowMs() = 0;
};

class SteadyTimerClock : public TimerClock {
 public:
  std::int64_t NowMs() override;
};

class MinuteTimer;

// Accumulates elapsed time for the registered timers and posts their ticks to UiDispatcher().
// Without a thread it advances only when Poll() is called, which is how tests drive it.
class TimerService {
 public:
  explicit TimerService(TimerClock& clock);
  ~TimerService();
  TimerService(const TimerService&) = delete;
  TimerService& operator=(const TimerService&) = delete;

  // The program's service on the steady clock, its thread started on first use.
  static TimerService& Shared();

  // Starts the thread that waits for the next due tick and polls then. Call at most once.
  void StartThread();
  // Adds the time elapsed since the last poll to every active timer and posts the ticks due.
  void Poll();
  // The clock time of the earliest tick due; none while no active timer can tick.
  std::optional<std::int64_t> NextTickAt();

 private:
  friend class MinuteTimer;
  // A timer's side under mutex_; `owner` is fixed and only followed on the UI thread.
  struct Slot {
    explicit Slot(MinuteTimer* timer) : owner(timer) {}
    MinuteTimer* const owner;
    std::uint32_t interval = 1000;
    bool active = true;
    std::int64_t accumulated = 0;
  };
  using DueTicks = std::vector<std::weak_ptr<Slot>>;

  void Register(const std::shared_ptr<Slot>& slot);
  void Unregister(const Slot* slot);
  // Brings every timer up to now, then applies `change` to `slot` and wakes the thread, so
  // that a timer accumulates exactly the time it was active.
  void Change(Slot& slot, const std::function<void(Slot&)>& change);
  DueTicks AdvanceLocked();
  std::optional<std::int64_t> NextTickAtLocked() const;
  static void Deliver(const DueTicks& due);
  void Run();

  TimerClock& clock_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::shared_ptr<Slot>> slots_;
  std::int64_t last_;
  std::uint64_t changes_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

// Use from the user-interface thread only.
class MinuteTimer {
 public:
  explicit MinuteTimer(TimerService& service = TimerService::Shared());
  ~MinuteTimer();
  MinuteTimer(const MinuteTimer&) = delete;
  MinuteTimer& operator=(const MinuteTimer&) = delete;

  // Milliseconds per tick; 0 never ticks.
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t milliseconds);
  // An inactive timer accumulates nothing and receives no ticks; it keeps what it had.
  bool Active() const { return active_; }
  void SetActive(bool active);
  // Ticks delivered since the last Reset.
  std::uint32_t TickCount() const { return count_; }
  // Zeroes the tick count and the time accumulated towards the next tick.
  void Reset();

  // Runs on every tick, after the tick count has grown by one.
  std::function<void()> OnTimer;

 private:
  friend class TimerService;
  void Tick();

  TimerService& service_;
  // Shared with the posted ticks, which drop themselves once the timer is gone.
  std::shared_ptr<TimerService::Slot> slot_;
  std::uint32_t interval_ = 1000;
  bool active_ = true;
  std::uint32_t count_ = 0;
};

}  // namespace nimbalo

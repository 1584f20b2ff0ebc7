#include "app/minute_timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/queue_dispatcher.h"

namespace nimbalo {
namespace {

class FakeClock : public TimerClock {
 public:
  std::int64_t NowMs() override { return now; }
  std::int64_t now = 0;
};

class MinuteTimerTest : public ::testing::Test {
 protected:
  void SetUp() override { SetUiDispatcher(&ui_); }
  void TearDown() override { SetUiDispatcher(nullptr); }

  // Moves the clock to `ms`, waking the service at every tick due on the way as its thread
  // would, and delivers the ticks.
  void RunTo(std::int64_t ms) {
    for (auto at = service_.NextTickAt(); at && *at <= ms; at = service_.NextTickAt()) {
      clock_.now = *at;
      service_.Poll();
      ui_.ProcessEvents();
    }
    clock_.now = ms;
    service_.Poll();
    ui_.ProcessEvents();
  }

  FakeClock clock_;
  TimerService service_{clock_};
  QueueDispatcher ui_;
};

TEST_F(MinuteTimerTest, TicksAtEveryMultipleOfTheInterval) {
  MinuteTimer timer(service_);
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_TRUE(timer.Active());
  std::vector<std::int64_t> seen;
  timer.OnTimer = [&] { seen.push_back(clock_.now); };

  EXPECT_EQ(service_.NextTickAt(), 1000);
  RunTo(999);
  EXPECT_EQ(timer.TickCount(), 0u);
  RunTo(3000);
  EXPECT_EQ(timer.TickCount(), 3u);
  EXPECT_EQ(seen, (std::vector<std::int64_t>{1000, 2000, 3000}));
  EXPECT_EQ(service_.NextTickAt(), 4000);
}

TEST_F(MinuteTimerTest, RemainderIsCarried) {
  MinuteTimer timer(service_);
  RunTo(2500);
  EXPECT_EQ(timer.TickCount(), 2u);
  EXPECT_EQ(service_.NextTickAt(), 3000);  // 500 ms already counted
  RunTo(3000);
  EXPECT_EQ(timer.TickCount(), 3u);
}

TEST_F(MinuteTimerTest, LateWakeUpGivesOneTickAndKeepsTheRemainder) {
  MinuteTimer timer(service_);
  clock_.now = 3250;  // the service could not run for three intervals
  service_.Poll();
  ui_.ProcessEvents();
  EXPECT_EQ(timer.TickCount(), 1u);
  EXPECT_EQ(service_.NextTickAt(), 4000);
}

TEST_F(MinuteTimerTest, InactiveTimerKeepsCountAndAccumulatedTime) {
  MinuteTimer timer(service_);
  RunTo(1600);
  ASSERT_EQ(timer.TickCount(), 1u);
  timer.SetActive(false);
  EXPECT_EQ(service_.NextTickAt(), std::nullopt);  // nothing to wake up for
  RunTo(9000);
  EXPECT_EQ(timer.TickCount(), 1u);

  timer.SetActive(true);
  EXPECT_EQ(service_.NextTickAt(), 9400);  // the 600 ms from before continue
  RunTo(9400);
  EXPECT_EQ(timer.TickCount(), 2u);
}

// The service sleeps until the next tick is due, so switching happens between its wake-ups.
TEST_F(MinuteTimerTest, SwitchingBetweenWakeUpsCountsExactlyTheActiveTime) {
  MinuteTimer timer(service_);
  clock_.now = 900;
  timer.SetActive(false);
  clock_.now = 5000;
  timer.SetActive(true);
  EXPECT_EQ(service_.NextTickAt(), 5100);
  RunTo(5099);
  EXPECT_EQ(timer.TickCount(), 0u);
  RunTo(5100);
  EXPECT_EQ(timer.TickCount(), 1u);
}

TEST_F(MinuteTimerTest, InactiveFromCreationCountsOnlyActiveTime) {
  MinuteTimer timer(service_);
  timer.SetInterval(60000);
  timer.SetActive(false);
  RunTo(500000);
  timer.SetActive(true);
  RunTo(559999);
  EXPECT_EQ(timer.TickCount(), 0u);
  RunTo(560000);
  EXPECT_EQ(timer.TickCount(), 1u);
}

TEST_F(MinuteTimerTest, ResetZeroesCountAndAccumulatedTime) {
  MinuteTimer timer(service_);
  RunTo(2300);
  ASSERT_EQ(timer.TickCount(), 2u);
  timer.Reset();
  EXPECT_EQ(timer.TickCount(), 0u);
  EXPECT_EQ(service_.NextTickAt(), 3300);
  RunTo(3299);
  EXPECT_EQ(timer.TickCount(), 0u);
  RunTo(3300);
  EXPECT_EQ(timer.TickCount(), 1u);
}

TEST_F(MinuteTimerTest, HandlerSeesTheNewCountAndCanStopItsTimer) {
  MinuteTimer timer(service_);
  std::vector<std::uint32_t> counts;
  timer.OnTimer = [&] {
    timer.SetActive(false);
    counts.push_back(timer.TickCount());
    if (counts.size() < 2) timer.SetActive(true);
  };
  RunTo(10000);
  EXPECT_EQ(counts, (std::vector<std::uint32_t>{1, 2}));
  EXPECT_FALSE(timer.Active());
}

TEST_F(MinuteTimerTest, PostedTickIsDroppedWhenTheTimerIsGoneOrStopped) {
  int handled = 0;
  auto gone = std::make_unique<MinuteTimer>(service_);
  gone->OnTimer = [&] { ++handled; };
  MinuteTimer stopped(service_);
  stopped.OnTimer = [&] { ++handled; };

  clock_.now = 1000;
  service_.Poll();  // both ticks are now queued for the UI thread
  gone.reset();
  stopped.SetActive(false);
  ui_.ProcessEvents();
  EXPECT_EQ(handled, 0);
  EXPECT_EQ(stopped.TickCount(), 0u);
}

TEST_F(MinuteTimerTest, HandlerMayDestroyItsTimer) {
  auto timer = std::make_unique<MinuteTimer>(service_);
  int handled = 0;
  timer->OnTimer = [&] {
    ++handled;
    timer.reset();
  };
  RunTo(5000);
  EXPECT_EQ(handled, 1);
}

TEST_F(MinuteTimerTest, TimersWithDifferentIntervals) {
  std::string order;
  MinuteTimer clockTimer(service_);
  clockTimer.OnTimer = [&] { order += 'c'; };
  MinuteTimer fast(service_);
  fast.SetInterval(400);
  fast.OnTimer = [&] { order += 'f'; };
  MinuteTimer idle(service_);
  idle.SetInterval(100);
  idle.SetActive(false);
  MinuteTimer never(service_);
  never.SetInterval(0);

  RunTo(2000);
  EXPECT_EQ(clockTimer.TickCount(), 2u);
  EXPECT_EQ(fast.TickCount(), 5u);
  EXPECT_EQ(idle.TickCount(), 0u);
  EXPECT_EQ(never.TickCount(), 0u);
  EXPECT_EQ(order, "ffcffcf");  // both due at 2000: one poll, in creation order
}

TEST_F(MinuteTimerTest, ZeroIntervalNeverTicks) {
  MinuteTimer timer(service_);
  timer.SetInterval(0);
  EXPECT_EQ(service_.NextTickAt(), std::nullopt);
  RunTo(100000);
  EXPECT_EQ(timer.TickCount(), 0u);
}

TEST(TimerServiceThread, DeliversTicksOnTheUserInterfaceThread) {
  QueueDispatcher ui;
  SetUiDispatcher(&ui);
  SteadyTimerClock clock;
  {
    TimerService service(clock);
    service.StartThread();
    MinuteTimer timer(service);
    timer.SetInterval(2);
    const auto uiThread = std::this_thread::get_id();
    bool onUiThread = true;
    timer.OnTimer = [&] { onUiThread = onUiThread && std::this_thread::get_id() == uiThread; };
    EXPECT_TRUE(ui.RunUntil([&] { return timer.TickCount() >= 3; }, std::chrono::seconds(30)));
    EXPECT_TRUE(onUiThread);
  }
  SetUiDispatcher(nullptr);
}

}  // namespace
}  // namespace nimbalo

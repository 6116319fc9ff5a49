#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Dispatch/dispatch.h"
#include "Foundation/NSRunLoop.h"
#include "support/ScopedTestDevice.h"

namespace {

struct TimerSpec {
  std::string name;
  double intervalSeconds;
};

TEST(RunLoopTest, DueTimersFireByFireDateThenBySchedulingOrder) {
  struct Case {
    const char* label;
    std::vector<TimerSpec> timers;  // scheduled in this order
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {"distinct dates", {{"a", 0.5}, {"b", 0.2}, {"c", 0.3}}, {"b", "c", "a"}},
      {"same date keeps scheduling order", {{"a", 0.5}, {"b", 0.5}, {"c", 0.5}}, {"a", "b", "c"}},
      {"mixed", {{"a", 0.5}, {"b", 0.2}, {"c", 0.5}, {"d", 0.2}}, {"b", "d", "a", "c"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScopedTestDevice device;
    std::vector<std::string> fired;
    std::vector<std::shared_ptr<NSTimer>> timers;
    for (const auto& planned : c.timers) {
      timers.push_back(NSTimer::scheduledTimerWithTimeInterval(
          planned.intervalSeconds,
          [&fired, name = planned.name](NSTimer&) { fired.push_back(name); }, false));
    }
    device.runFor(1.0);
    EXPECT_EQ(fired, c.expected);
  }
}

TEST(RunLoopTest, TimerAndDispatchDueAtTheSameInstantRunInSchedulingOrder) {
  ScopedTestDevice device;
  std::vector<std::string> ran;
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), dispatch_get_main_queue(),
                 [&] { ran.push_back("dispatch 1"); });
  auto timer = NSTimer::scheduledTimerWithTimeInterval(
      1.0, [&](NSTimer&) { ran.push_back("timer"); }, false);
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), dispatch_get_main_queue(),
                 [&] { ran.push_back("dispatch 2"); });
  device.runFor(1.0);
  EXPECT_EQ(ran, (std::vector<std::string>{"dispatch 1", "timer", "dispatch 2"}));
}

TEST(RunLoopTest, TimerInvalidatedByAnotherCallbackInTheSameInstantNeverFires) {
  for (bool victimRepeats : {false, true}) {
    SCOPED_TRACE(victimRepeats ? "repeating victim" : "one-shot victim");
    ScopedTestDevice device;
    int victimFirings = 0;
    std::shared_ptr<NSTimer> victim;
    auto killer = NSTimer::scheduledTimerWithTimeInterval(
        1.0, [&](NSTimer&) { victim->invalidate(); }, false);
    victim = NSTimer::scheduledTimerWithTimeInterval(
        1.0, [&](NSTimer&) { ++victimFirings; }, victimRepeats);
    device.runFor(5.0);
    EXPECT_EQ(victimFirings, 0);
    EXPECT_FALSE(victim->isValid());
  }
}

TEST(RunLoopTest, RepeatingTimerFireDatesDoNotDriftOverAnHour) {
  ScopedTestDevice device;
  // The motion helper's interval as a single-precision 0.3 widens to.
  const double intervalSeconds = 0.30000001192092896;
  device.runFor(0.05);  // a start that is not a multiple of the interval
  const double start = device.device().now();
  std::uint64_t firings = 0;
  double worstErrorSeconds = 0;
  auto timer = NSTimer::scheduledTimerWithTimeInterval(
      intervalSeconds,
      [&](NSTimer& t) {
        ++firings;
        const double expected = start + static_cast<double>(firings) * intervalSeconds;
        worstErrorSeconds = std::max(worstErrorSeconds, std::abs(device.device().now() - expected));
        EXPECT_EQ(t.fireDate(), start + static_cast<double>(firings + 1) * intervalSeconds);
      },
      true);
  device.runFor(3600.0);
  EXPECT_EQ(firings, static_cast<std::uint64_t>(std::floor(3600.0 / intervalSeconds)));
  EXPECT_EQ(worstErrorSeconds, 0.0);
  EXPECT_TRUE(timer->isValid());
}

TEST(RunLoopTest, OneShotTimerIsInvalidBeforeItsCallbackAndMayScheduleAnother) {
  ScopedTestDevice device;
  std::vector<double> firedAt;
  std::shared_ptr<NSTimer> second;
  bool validInCallback = true;
  std::weak_ptr<NSTimer> first = NSTimer::scheduledTimerWithTimeInterval(
      1.0,
      [&](NSTimer& timer) {
        validInCallback = timer.isValid();
        firedAt.push_back(device.device().now());
        second = NSTimer::scheduledTimerWithTimeInterval(
            0.5, [&](NSTimer&) { firedAt.push_back(device.device().now()); }, false);
      },
      false);
  EXPECT_FALSE(first.expired()) << "the run loop keeps a scheduled timer alive";
  device.runFor(10.0);
  EXPECT_FALSE(validInCallback);
  EXPECT_EQ(firedAt, (std::vector<double>{1.0, 1.5}));
  EXPECT_TRUE(first.expired()) << "the run loop lets go of a fired one-shot timer";
}

TEST(RunLoopTest, InvalidateReleasesTheTargetAndIsIdempotent) {
  struct Target {
    int ticks = 0;
    void tick(NSTimer&) { ++ticks; }
  };
  ScopedTestDevice device;
  auto target = std::make_shared<Target>();
  std::weak_ptr<NSTimer> weakTimer;
  {
    auto timer = NSTimer::scheduledTimerWithTimeInterval(1.0, target, &Target::tick,
                                                         Foundation::Value::integer(7), true);
    weakTimer = timer;
    EXPECT_EQ(timer->userInfo(), Foundation::Value::integer(7));
  }
  device.runFor(3.0);
  EXPECT_EQ(target->ticks, 3);
  EXPECT_GT(target.use_count(), 1) << "a valid timer keeps its target";
  ASSERT_FALSE(weakTimer.expired());
  weakTimer.lock()->invalidate();
  EXPECT_TRUE(weakTimer.expired()) << "invalidate drops the run loop's reference";
  EXPECT_EQ(target.use_count(), 1);
  device.runFor(3.0);
  EXPECT_EQ(target->ticks, 3);

  auto kept = NSTimer::scheduledTimerWithTimeInterval(1.0, target, &Target::tick, {}, true);
  kept->invalidate();
  kept->invalidate();
  EXPECT_FALSE(kept->isValid());
  device.runFor(3.0);
  EXPECT_EQ(target->ticks, 3);
}

TEST(RunLoopTest, RepeatingTimerCanInvalidateItselfFromItsCallback) {
  ScopedTestDevice device;
  int ticks = 0;
  auto timer = NSTimer::scheduledTimerWithTimeInterval(
      0.25,
      [&](NSTimer& t) {
        if (++ticks == 3) t.invalidate();
      },
      true);
  device.runFor(10.0);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(device.device().nextTaskTime(), -1.0);
}

TEST(RunLoopTest, NonPositiveIntervalBecomesTheMinimum) {
  ScopedTestDevice device;
  for (double interval : {0.0, -1.0, std::nan("")}) {
    auto timer = NSTimer::scheduledTimerWithTimeInterval(
        interval, [](NSTimer&) {}, false);
    EXPECT_EQ(timer->timeInterval(), 0.0001);
    timer->invalidate();
  }
}

TEST(RunLoopTest, DispatchAfterRunsOnceNoEarlierThanItsTime) {
  ScopedTestDevice device;
  device.runFor(0.3);
  std::vector<double> ranAt;
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 2 * NSEC_PER_SEC), dispatch_get_main_queue(),
                 [&] { ranAt.push_back(device.device().now()); });
  device.runFor(1.999);
  EXPECT_TRUE(ranAt.empty());
  device.runFor(0.001);
  EXPECT_EQ(ranAt, std::vector<double>{2.3});
  device.runFor(10);
  EXPECT_EQ(ranAt.size(), 1u);
}

TEST(RunLoopTest, DispatchTimeArithmetic) {
  ScopedTestDevice device;
  device.runFor(1.5);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, 0), 1'500'000'000u);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_NOW, -3 * NSEC_PER_SEC), 0u);
  EXPECT_EQ(dispatch_time(5, 10), 15u);
  EXPECT_EQ(dispatch_time(DISPATCH_TIME_FOREVER, -1), DISPATCH_TIME_FOREVER);

  bool ran = false;
  dispatch_after(DISPATCH_TIME_FOREVER, dispatch_get_main_queue(), [&] { ran = true; });
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 1), nullptr, [&] { ran = true; });
  device.runFor(1e6);
  EXPECT_FALSE(ran);
}

TEST(RunLoopTest, TasksScheduledByTasksInTheSameInstantRunInTheSameRun) {
  ScopedTestDevice device;
  std::vector<std::string> ran;
  dispatch_async(dispatch_get_main_queue(), [&] {
    ran.push_back("first");
    dispatch_async(dispatch_get_main_queue(), [&] {
      ran.push_back("second");
      dispatch_async(dispatch_get_main_queue(), [&] { ran.push_back("third"); });
    });
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC / 2), dispatch_get_main_queue(),
                   [&] { ran.push_back("later"); });
    ran.push_back("first ends");
  });
  EXPECT_TRUE(ran.empty()) << "dispatch_async never runs synchronously";
  device.device().runPending();
  EXPECT_EQ(ran, (std::vector<std::string>{"first", "first ends", "second", "third"}));
  EXPECT_EQ(device.device().now(), 0.0);
  EXPECT_EQ(device.device().nextTaskTime(), 0.5);
  device.runFor(0.5);
  EXPECT_EQ(ran.back(), "later");
}

TEST(RunLoopTest, RunUntilRunsDueTasksInsideTheirProcessAndLeavesTheClockAtTheTarget) {
  ScopedTestDevice device;
  auto settings = device.device().launch("Preferences");
  std::vector<std::string> ranIn;
  {
    ProcessScope scope(*settings);
    dispatch_async(dispatch_get_main_queue(), [&] { ranIn.push_back(Process::current().name()); });
  }
  dispatch_async(dispatch_get_main_queue(), [&] { ranIn.push_back(Process::current().name()); });
  int hookCalls = 0;
  device.device().setAfterEachTask([&] { ++hookCalls; });
  device.device().runUntil(4.0);
  EXPECT_EQ(ranIn, (std::vector<std::string>{"Preferences", "SpringBoard"}));
  EXPECT_EQ(hookCalls, 2);
  EXPECT_EQ(device.device().now(), 4.0);
  device.device().runUntil(1.0);  // never backwards
  EXPECT_EQ(device.device().now(), 4.0);
}

TEST(RunLoopTest, CancelledTasksNeverRun) {
  ScopedTestDevice device;
  Device& d = device.device();
  bool ran = false;
  Device::TaskId early = d.schedule(device.process(), 1.0, [&] { ran = true; });
  d.schedule(device.process(), 2.0, [] {});
  d.cancel(early);
  d.cancel(early);
  d.cancel(0);
  EXPECT_EQ(d.nextTaskTime(), 2.0);
  d.runFor(3.0);
  EXPECT_FALSE(ran);
}

TEST(RunLoopTest, TasksAndTimersOfATerminatedProcessAreDroppedAndReleased) {
  ScopedTestDevice device;
  auto settings = device.device().launch("Preferences");
  auto captured = std::make_shared<int>(0);
  std::weak_ptr<int> watch = captured;
  int ran = 0;
  {
    ProcessScope scope(*settings);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, NSEC_PER_SEC), dispatch_get_main_queue(),
                   [&ran, captured] { ++ran; });
    NSTimer::scheduledTimerWithTimeInterval(
        0.5, [&ran, captured](NSTimer&) { ++ran; }, true);
  }
  captured.reset();
  device.runFor(0.6);
  EXPECT_EQ(ran, 1);
  device.device().terminate("Preferences");
  EXPECT_TRUE(watch.expired()) << "ending a process releases its pending work";
  EXPECT_EQ(device.device().process("Preferences"), nullptr);
  device.runFor(10.0);
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(device.device().schedule(*settings, 11.0, [&] { ++ran; }), 0u);
}

TEST(RunLoopTest, EndingAProcessFreesAnOwnerKeptAliveByItsOwnTimer) {
  // Like a helper whose repeating timer targets the helper itself.
  struct Sampler {
    std::shared_ptr<NSTimer> timer;
    int ticks = 0;
    void tick(NSTimer&) { ++ticks; }
  };
  ScopedTestDevice device;
  auto settings = device.device().launch("Preferences");
  std::weak_ptr<Sampler> watch;
  {
    ProcessScope scope(*settings);
    auto sampler = std::make_shared<Sampler>();
    sampler->timer =
        NSTimer::scheduledTimerWithTimeInterval(0.3, sampler, &Sampler::tick, {}, true);
    watch = sampler;
  }
  device.runFor(1.0);
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(watch.lock()->ticks, 3);
  device.device().terminate("Preferences");
  EXPECT_TRUE(watch.expired());
}

}  // namespace

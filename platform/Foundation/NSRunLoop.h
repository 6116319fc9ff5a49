// A process's main run loop, and NSTimer. On the simulated device the loop runs on the
// device's virtual clock (SimulatedRunLoop).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "Foundation/Value.h"

class NSTimer;

class NSRunLoop {
 public:
  NSRunLoop(const NSRunLoop&) = delete;
  NSRunLoop& operator=(const NSRunLoop&) = delete;

  // The current process's main run loop. All work of a process is on its main thread, so the
  // current run loop is the main one.
  static NSRunLoop& mainRunLoop();
  static NSRunLoop& currentRunLoop() { return mainRunLoop(); }

 protected:
  NSRunLoop() = default;
  ~NSRunLoop() = default;
};

// A timer on a run loop. A scheduled timer is kept alive by its run loop until it is
// invalidated (a one-shot timer invalidates itself just before it calls back, so the callback
// may schedule a new one) or its process ends. Due timers fire in order of fire date, then of
// scheduling (a repeating timer counts as scheduled again each time it fires). A repeating
// timer's fire dates are start + k × interval: they never drift. A timer invalidated before
// its turn (even by another callback in the same instant) never fires again. An interval of
// zero or less (or not a number) becomes 0.0001 s, as on the device; an infinite one (or one
// so long that its fire date overflows) never fires: a longer interval never fires sooner.
class NSTimer : public std::enable_shared_from_this<NSTimer> {
 public:
  using Action = std::function<void(NSTimer&)>;

  // scheduledTimerWithTimeInterval:target:selector:userInfo:repeats: on the current run loop.
  // The action holds whatever it captures (the target) until the timer is invalidated.
  static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(double seconds, Action action,
                                                                 Foundation::Value userInfo,
                                                                 bool repeats);
  static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(double seconds, Action action,
                                                                 bool repeats) {
    return scheduledTimerWithTimeInterval(seconds, std::move(action), Foundation::Value(), repeats);
  }
  // Target/selector form: the timer keeps `target` alive while it is valid, as NSTimer does.
  template <typename T>
  static std::shared_ptr<NSTimer> scheduledTimerWithTimeInterval(double seconds,
                                                                 std::shared_ptr<T> target,
                                                                 void (T::*selector)(NSTimer&),
                                                                 Foundation::Value userInfo,
                                                                 bool repeats) {
    return scheduledTimerWithTimeInterval(
        seconds, [target, selector](NSTimer& timer) { ((*target).*selector)(timer); },
        std::move(userInfo), repeats);
  }

  ~NSTimer();
  void invalidate();
  bool isValid() const { return valid_; }
  double timeInterval() const { return interval_; }
  double fireDate() const { return fireDate_; }  // next fire time, virtual seconds
  bool repeats() const { return repeats_; }
  const Foundation::Value& userInfo() const { return userInfo_; }

 private:
  NSTimer(double interval, Action action, Foundation::Value userInfo, bool repeats);
  void arm();
  void fire();

  // The process whose run loop schedules the timer, type-erased. Weak: a timer kept by its
  // owner past the end of its process must not reach a dead loop.
  std::weak_ptr<void> process_;
  double interval_;
  Action action_;
  Foundation::Value userInfo_;
  bool repeats_;
  bool valid_ = true;
  double startDate_ = 0;
  std::uint64_t firings_ = 0;
  double fireDate_ = 0;
  // The pending firing; its task holds the run loop's reference to the timer, released
  // when the timer is invalidated or the process ends.
  std::uint64_t task_ = 0;
};

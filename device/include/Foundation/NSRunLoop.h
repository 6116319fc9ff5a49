// The main run loop and NSTimer, on the real ones.
#pragma once

#include <functional>
#include <memory>

#include "Foundation/Value.h"
#include "native/NativeObject.h"

class NSRunLoop {
 public:
  NSRunLoop(const NSRunLoop&) = delete;
  NSRunLoop& operator=(const NSRunLoop&) = delete;

  // The process's main run loop, where the product's code runs.
  static NSRunLoop& mainRunLoop();
  static NSRunLoop& currentRunLoop() { return mainRunLoop(); }

 private:
  NSRunLoop() = default;
};

// A timer scheduled on the current run loop. The run loop keeps a scheduled timer (and so its
// action and whatever the action holds) until the timer is invalidated; a one-shot timer counts
// as invalid from just before it calls back, so the callback may schedule a new one.
class NSTimer : public std::enable_shared_from_this<NSTimer> {
 public:
  using Action = std::function<void(NSTimer&)>;

  // scheduledTimerWithTimeInterval:target:selector:userInfo:repeats: on the current run loop.
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

  NSTimer(const NSTimer&) = delete;
  NSTimer& operator=(const NSTimer&) = delete;
  ~NSTimer();

  void invalidate();
  bool isValid() const;
  double timeInterval() const { return interval_; }
  double fireDate() const;  // next firing, seconds since 2001-01-01 00:00:00 UTC
  bool repeats() const { return repeats_; }
  const Foundation::Value& userInfo() const { return userInfo_; }

 private:
  NSTimer(double interval, Action action, Foundation::Value userInfo, bool repeats);
  void fire();

  double interval_;
  Action action_;
  Foundation::Value userInfo_;
  bool repeats_;
  bool valid_ = true;
  gw::native::Object timer_;
};

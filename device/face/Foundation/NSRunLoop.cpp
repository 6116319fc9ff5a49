#include "Foundation/NSRunLoop.h"

#include "native/Foundation/NativeTimer.h"

NSRunLoop& NSRunLoop::mainRunLoop() {
  static NSRunLoop* const loop = new NSRunLoop();
  return *loop;
}

std::shared_ptr<NSTimer> NSTimer::scheduledTimerWithTimeInterval(double seconds, Action action,
                                                                 Foundation::Value userInfo,
                                                                 bool repeats) {
  std::shared_ptr<NSTimer> timer(
      new NSTimer(seconds, std::move(action), std::move(userInfo), repeats));
  // The real timer holds this callback, and with it the C++ timer, until it is invalidated.
  timer->timer_ =
      gw::native::foundation::scheduleTimer(seconds, repeats, [timer] { timer->fire(); });
  return timer;
}

NSTimer::NSTimer(double interval, Action action, Foundation::Value userInfo, bool repeats)
    : interval_(interval),
      action_(std::move(action)),
      userInfo_(std::move(userInfo)),
      repeats_(repeats) {}

NSTimer::~NSTimer() {
  gw::native::foundation::invalidateTimer(timer_);
}

void NSTimer::invalidate() {
  valid_ = false;
  action_ = nullptr;  // releases whatever the action holds, as NSTimer releases its target
  gw::native::foundation::invalidateTimer(timer_);
}

bool NSTimer::isValid() const {
  return valid_ && gw::native::foundation::timerIsValid(timer_);
}

double NSTimer::fireDate() const {
  return gw::native::foundation::timerFireDate(timer_);
}

void NSTimer::fire() {
  if (!valid_) return;
  // A copy: the action may invalidate this timer, which lets go of action_.
  const Action action = action_;
  if (!repeats_) invalidate();
  if (action) action(*this);
}

// Wraps NSTimer: scheduledTimerWithTimeInterval:target:selector:userInfo:repeats:, invalidate,
// isValid, fireDate; and NSDate's timeIntervalSinceReferenceDate.
#include "native/Foundation/NativeTimer.h"

#import <Foundation/Foundation.h>

// A timer's target: NSTimer holds it strongly until the timer is invalidated.
@interface GWFoundationTimerTarget : NSObject
- (instancetype)initWithFire:(std::function<void()>)fire;
- (void)timerFired:(NSTimer*)timer;
@end

@implementation GWFoundationTimerTarget {
  std::function<void()> _fire;
}
- (instancetype)initWithFire:(std::function<void()>)fire {
  if ((self = [super init])) _fire = std::move(fire);
  return self;
}
- (void)timerFired:(NSTimer*)timer {
  (void)timer;
  // A copy: the callback may invalidate the timer, which releases this target.
  const std::function<void()> fire = _fire;
  if (fire) fire();
}
@end

namespace gw::native::foundation {

Object scheduleTimer(double seconds, bool repeats, std::function<void()> fire) {
  GWFoundationTimerTarget* target = [[GWFoundationTimerTarget alloc] initWithFire:std::move(fire)];
  NSTimer* timer = [NSTimer scheduledTimerWithTimeInterval:seconds
                                                    target:target
                                                  selector:@selector(timerFired:)
                                                  userInfo:nil
                                                   repeats:repeats ? YES : NO];
  return Object::retaining((__bridge const void*)timer);
}

void invalidateTimer(const Object& timer) {
  if (timer) [(__bridge NSTimer*)timer.get() invalidate];
}

bool timerIsValid(const Object& timer) {
  return timer && [(__bridge NSTimer*)timer.get() isValid];
}

double timerFireDate(const Object& timer) {
  if (!timer) return 0;
  return [(__bridge NSTimer*)timer.get() fireDate].timeIntervalSinceReferenceDate;
}

double currentDate() {
  return [NSDate timeIntervalSinceReferenceDate];
}

}  // namespace gw::native::foundation

// Run-loop timers (NSTimer) calling back into C++.
#pragma once

#include <functional>

#include "native/NativeObject.h"

namespace gw::native::foundation {

// scheduledTimerWithTimeInterval:target:selector:userInfo:repeats: on the current thread's run
// loop (the main one for the product's code). `fire` runs at each firing; the timer keeps it
// (and whatever it holds) until the timer is invalidated, and releases it then.
Object scheduleTimer(double seconds, bool repeats, std::function<void()> fire);
void invalidateTimer(const Object& timer);
bool timerIsValid(const Object& timer);
// The next firing, seconds since 2001-01-01 00:00:00 UTC.
double timerFireDate(const Object& timer);
// The current time, seconds since 2001-01-01 00:00:00 UTC.
double currentDate();

}  // namespace gw::native::foundation

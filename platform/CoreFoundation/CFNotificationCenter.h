// The system-wide (Darwin) notification centre: one per device, shared by its processes.
// A post is delivered to every observing process on that process's main run loop (soon after
// the post, at the same virtual time), never synchronously inside the poster. Each post is
// also emitted as a device event "notify" with field "name".
#pragma once

#include <string>
#include <string_view>

#include "Foundation/Value.h"

struct __CFNotificationCenter;
using CFNotificationCenterRef = __CFNotificationCenter*;
using CFDictionaryRef = const Foundation::Dictionary*;

using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer,
                                        const std::string& name, const void* object,
                                        CFDictionaryRef userInfo);

enum CFNotificationSuspensionBehavior {
  CFNotificationSuspensionBehaviorDrop = 1,
  CFNotificationSuspensionBehaviorCoalesce = 2,
  CFNotificationSuspensionBehaviorHold = 3,
  CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

// The current device's Darwin centre.
CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// Registers `callback` for `name` in the current process. The Darwin centre ignores `object`
// and user info, as on the device: callbacks get null for both. Registering twice means two
// calls per post. The registrations of a process vanish when it ends; one removed before a
// pending delivery runs is not called.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);
// Removes the current process's registrations of `observer`.
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

// Schedules one delivery to each registration, on its process's main run loop at the current
// virtual time, so it runs after the poster's current task (`deliverImmediately` changes
// nothing).

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* object, CFDictionaryRef userInfo,
                                          bool deliverImmediately);

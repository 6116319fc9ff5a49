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
// and user info, as on the device.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* object, CFDictionaryRef userInfo,
                                          bool deliverImmediately);

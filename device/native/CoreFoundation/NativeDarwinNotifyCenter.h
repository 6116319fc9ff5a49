// The Darwin notify centre (CFNotificationCenterGetDarwinNotifyCenter) calling back into C++.
#pragma once

#include <functional>
#include <string>

namespace gw::native::corefoundation {

// The centre itself, as an opaque pointer that only goes back to these functions.
const void* darwinNotifyCenter();

// Called with the notification's name on the thread the centre delivers on (the main thread).
using DarwinCallback = std::function<void(const std::string& name)>;

// CFNotificationCenterAddObserver for `name` with `suspensionBehavior` (CoreFoundation's
// numbering). `owner` groups registrations for removeDarwinObservers; it is never dereferenced.
void addDarwinObserver(const void* owner, const std::string& name, DarwinCallback callback,
                       long suspensionBehavior);
// CFNotificationCenterRemoveEveryObserver for every registration made with `owner`; none of
// their callbacks runs afterwards.
void removeDarwinObservers(const void* owner);
// CFNotificationCenterPostNotification on the Darwin centre (no object, no user info).
void postDarwinNotification(const std::string& name, bool deliverImmediately);

}  // namespace gw::native::corefoundation

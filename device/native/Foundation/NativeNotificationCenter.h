// The default notification centre (NSNotificationCenter defaultCenter) with C++ payloads: a
// notification's object and user info travel as opaque C++ values that only the face reads.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "native/NativeObject.h"

namespace gw::native::foundation {

// What an observer gets: the notification's name, and the C++ values posted as its object and
// user info (null when the poster gave none, or posted Objective-C objects of its own).
using NotificationBlock =
    std::function<void(const std::string& name, const std::shared_ptr<const void>& object,
                       const std::shared_ptr<const void>& userInfo)>;

// addObserverForName:object:queue:usingBlock: with no sender and no queue; an empty name
// observes every notification. Returns the centre's token for removeNotificationObserver.
Object addNotificationObserver(const std::string& name, NotificationBlock block);
// removeObserver: with a token; the block is not called afterwards.
void removeNotificationObserver(const Object& token);
// postNotificationName:object:userInfo:, synchronously on the calling thread.
void postNotification(const std::string& name, std::shared_ptr<const void> object,
                      std::shared_ptr<const void> userInfo);

}  // namespace gw::native::foundation

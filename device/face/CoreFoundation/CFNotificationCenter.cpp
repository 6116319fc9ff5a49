#include "CoreFoundation/CFNotificationCenter.h"

#include "native/CoreFoundation/NativeDarwinNotifyCenter.h"

namespace native = gw::native::corefoundation;

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  // Only ever handed back to these functions, which talk to the real centre themselves.
  return static_cast<CFNotificationCenterRef>(const_cast<void*>(native::darwinNotifyCenter()));
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name,
                                     const void* /*object: the Darwin centre has none*/,
                                     CFNotificationSuspensionBehavior suspensionBehavior) {
  if (center == nullptr || callback == nullptr) return;
  native::addDarwinObserver(
      observer, name,
      [center, observer, callback](const std::string& posted) {
        callback(center, const_cast<void*>(observer), posted, nullptr, nullptr);
      },
      static_cast<long>(suspensionBehavior));
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
  if (center != nullptr) native::removeDarwinObservers(observer);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* /*object*/, CFDictionaryRef /*userInfo*/,
                                          bool deliverImmediately) {
  if (center != nullptr) native::postDarwinNotification(name, deliverImmediately);
}

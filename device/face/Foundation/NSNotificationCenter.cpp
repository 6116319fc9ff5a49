#include "Foundation/NSNotificationCenter.h"

#include <algorithm>

#include "native/Foundation/NativeNotificationCenter.h"

namespace {

namespace native = gw::native::foundation;

// The real centre's block for `handler`: posted C++ values come back as the notification's
// object and user info; anything else (a post by other code) reads as null.
native::NotificationBlock blockFor(NSNotificationCenter::Handler handler) {
  return [handler = std::move(handler)](const std::string& name,
                                        const std::shared_ptr<const void>& object,
                                        const std::shared_ptr<const void>& userInfo) {
    NSNotification notification{name, {}, {}};
    if (object) notification.object = *static_cast<const Foundation::Value*>(object.get());
    if (userInfo) {
      notification.userInfo = *static_cast<const Foundation::Dictionary*>(userInfo.get());
    }
    if (handler) handler(notification);
  };
}

}  // namespace

NSNotificationCenter& NSNotificationCenter::defaultCenter() {
  // Never destroyed: observers may be removed by code that runs during exit.
  static NSNotificationCenter* const center = new NSNotificationCenter();
  return *center;
}

void NSNotificationCenter::addObserver(const void* observer, Handler selector, std::string name) {
  gw::native::Object token = native::addNotificationObserver(name, blockFor(std::move(selector)));
  if (!token) return;
  std::lock_guard<std::mutex> lock(mutex_);
  registrations_.push_back({observer, std::move(token), nullptr});
}

NSNotificationCenter::ObserverToken NSNotificationCenter::addObserverForName(std::string name,
                                                                             Handler block) {
  gw::native::Object token = native::addNotificationObserver(name, blockFor(std::move(block)));
  if (!token) return nullptr;
  ObserverToken blockToken = std::make_shared<const gw::native::Object>(token);
  std::lock_guard<std::mutex> lock(mutex_);
  registrations_.push_back({blockToken.get(), std::move(token), blockToken});
  return blockToken;
}

void NSNotificationCenter::removeObserver(const void* observer) {
  std::vector<Registration> removed;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto kept = std::stable_partition(
        registrations_.begin(), registrations_.end(),
        [observer](const Registration& registration) { return registration.observer != observer; });
    removed.assign(std::make_move_iterator(kept), std::make_move_iterator(registrations_.end()));
    registrations_.erase(kept, registrations_.end());
  }
  for (const Registration& registration : removed) {
    native::removeNotificationObserver(registration.token);
  }
}

void NSNotificationCenter::postNotificationName(std::string_view name, Foundation::Value object,
                                                Foundation::Dictionary userInfo) {
  std::shared_ptr<const void> objectPayload;
  if (!object.isNull())
    objectPayload = std::make_shared<const Foundation::Value>(std::move(object));
  std::shared_ptr<const void> userInfoPayload;
  if (!userInfo.empty()) {
    userInfoPayload = std::make_shared<const Foundation::Dictionary>(std::move(userInfo));
  }
  native::postNotification(std::string(name), std::move(objectPayload), std::move(userInfoPayload));
}

void NSNotificationCenter::postNotification(const NSNotification& notification) {
  postNotificationName(notification.name, notification.object, notification.userInfo);
}

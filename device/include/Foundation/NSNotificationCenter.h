// The in-process notification centre (NSNotificationCenter defaultCenter), on the real centre.
// Delivery is the real centre's: synchronous, on the posting thread. A notification's object and
// user info travel through it as the C++ values that were posted.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "native/NativeObject.h"

struct NSNotification {
  std::string name;
  Foundation::Value object;
  Foundation::Dictionary userInfo;
};

class NSNotificationCenter {
 public:
  using Handler = std::function<void(const NSNotification&)>;
  // Token of a block observer (addObserverForName:object:queue:usingBlock:).
  using ObserverToken = std::shared_ptr<const void>;

  NSNotificationCenter(const NSNotificationCenter&) = delete;
  NSNotificationCenter& operator=(const NSNotificationCenter&) = delete;

  // The process's centre.
  static NSNotificationCenter& defaultCenter();

  // addObserver:selector:name:object: with no sender filter. `observer` is the identity
  // removeObserver() takes; it is not owned. An empty name observes every notification.
  void addObserver(const void* observer, Handler selector, std::string name);
  // addObserverForName:object:queue:usingBlock: with no sender and no queue. The centre keeps
  // the block until removeObserver(token).
  ObserverToken addObserverForName(std::string name, Handler block);

  // Removes every registration of `observer`, for all names.
  void removeObserver(const void* observer);
  void removeObserver(const ObserverToken& token) { removeObserver(token.get()); }

  void postNotificationName(std::string_view name, Foundation::Value object = {},
                            Foundation::Dictionary userInfo = {});
  void postNotification(const NSNotification& notification);

 private:
  NSNotificationCenter() = default;

  struct Registration {
    const void* observer;
    gw::native::Object token;  // the real centre's
    ObserverToken blockToken;  // a block observer's, so that its address stays unique
  };
  mutable std::mutex mutex_;
  std::vector<Registration> registrations_;
};

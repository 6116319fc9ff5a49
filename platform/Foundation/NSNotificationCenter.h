// The in-process notification centre (NSNotificationCenter defaultCenter), one per process.
//
// Delivery is synchronous, on the posting thread, in order of registration. A post delivers
// to the observers registered when it starts: an observer added during a delivery is not
// called for that post, and an observer removed during a delivery is not called afterwards
// (not even by the post in progress). Posting from inside an observer delivers the nested
// post completely before the outer one goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"

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

  NSNotificationCenter() = default;
  ~NSNotificationCenter();
  NSNotificationCenter(const NSNotificationCenter&) = delete;
  NSNotificationCenter& operator=(const NSNotificationCenter&) = delete;

  // The current process's centre.
  static NSNotificationCenter& defaultCenter();

  // addObserver:selector:name:object: with no sender filter. `observer` is the identity
  // removeObserver() takes; it is not owned. An empty name observes every notification.
  // Adding the same observer twice registers it twice (it is then called twice per post).
  void addObserver(const void* observer, Handler selector, std::string name);
  // addObserverForName:object:queue:usingBlock: with no sender and no queue (the block runs on
  // the posting thread). The centre keeps the block until removeObserver(token).
  ObserverToken addObserverForName(std::string name, Handler block);

  // Removes every registration of `observer`, for all names.
  void removeObserver(const void* observer);
  void removeObserver(const ObserverToken& token) { removeObserver(token.get()); }

  void postNotificationName(std::string_view name, Foundation::Value object = {},
                            Foundation::Dictionary userInfo = {});
  void postNotification(const NSNotification& notification);

 private:
  // Reaches the registrations for the simulated process that owns the centre and for tests.
  friend class NSNotificationCenterSimulation;
  // Removes every registration (the end of the process that owns the centre).
  void removeAllObservers();

  struct Registration {
    std::uint64_t id;
    const void* observer;
    std::string name;
    std::shared_ptr<Handler> handler;
    std::shared_ptr<bool> alive;  // shared with posts in progress
    ObserverToken token;          // a block observer's token, so its address stays unique
  };
  std::vector<Registration> registrations_;
  std::uint64_t nextId_ = 1;
};

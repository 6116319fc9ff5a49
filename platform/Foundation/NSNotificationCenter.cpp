#include "Foundation/NSNotificationCenter.h"

#include <algorithm>
#include <utility>

#include "Device/Process.h"
#include "Foundation/NSNotificationCenterSimulation.h"

NSNotificationCenter::~NSNotificationCenter() {
  removeAllObservers();
}

namespace {
// The default centre as one of its process's services.
class CenterService final : public ProcessService {
 public:
  void endProcess() override { NSNotificationCenterSimulation::removeAllObservers(center); }
  NSNotificationCenter center;
};

// Observers are removed after the process's timers are invalidated.
const ProcessServiceKind kCenterKind{1, [](Process&) -> std::unique_ptr<ProcessService> {
                                       return std::make_unique<CenterService>();
                                     }};
}  // namespace

NSNotificationCenter& NSNotificationCenter::defaultCenter() {
  return NSNotificationCenterSimulation::defaultCenterOf(Process::current());
}

NSNotificationCenter& NSNotificationCenterSimulation::defaultCenterOf(Process& process) {
  return static_cast<CenterService&>(process.service(kCenterKind)).center;
}

void NSNotificationCenter::addObserver(const void* observer, Handler selector, std::string name) {
  if (!selector) return;
  registrations_.push_back(Registration{nextId_++, observer, std::move(name),
                                        std::make_shared<Handler>(std::move(selector)),
                                        std::make_shared<bool>(true), nullptr});
}

NSNotificationCenter::ObserverToken NSNotificationCenter::addObserverForName(std::string name,
                                                                             Handler block) {
  // The token is an object of its own: its address is the observer's identity.
  auto token = std::make_shared<const char>('\0');
  if (!block) return token;
  registrations_.push_back(Registration{nextId_++, token.get(), std::move(name),
                                        std::make_shared<Handler>(std::move(block)),
                                        std::make_shared<bool>(true), token});
  return token;
}

void NSNotificationCenter::removeObserver(const void* observer) {
  // Handlers are released after the bookkeeping is done: their captures may call back in.
  std::vector<Registration> removed;
  auto it = std::stable_partition(
      registrations_.begin(), registrations_.end(),
      [observer](const NSNotificationCenter::Registration& r) { return r.observer != observer; });
  for (auto removing = it; removing != registrations_.end(); ++removing) {
    *removing->alive = false;
    removed.push_back(std::move(*removing));
  }
  registrations_.erase(it, registrations_.end());
}

void NSNotificationCenter::removeAllObservers() {
  std::vector<Registration> removed;
  removed.swap(registrations_);
  for (auto& registration : removed) *registration.alive = false;
}

void NSNotificationCenter::postNotificationName(std::string_view name, Foundation::Value object,
                                                Foundation::Dictionary userInfo) {
  postNotification(NSNotification{std::string(name), std::move(object), std::move(userInfo)});
}

void NSNotificationCenter::postNotification(const NSNotification& notification) {
  // The observers registered now, each kept reachable for this post even if it is removed
  // (its `alive` flag then says not to call it).
  std::vector<std::pair<std::shared_ptr<Handler>, std::shared_ptr<bool>>> receivers;
  for (const auto& registration : registrations_) {
    if (registration.name.empty() || registration.name == notification.name) {
      receivers.emplace_back(registration.handler, registration.alive);
    }
  }
  for (const auto& [handler, alive] : receivers) {
    if (*alive) (*handler)(notification);
  }
}

std::size_t NSNotificationCenterSimulation::registrationCountForTesting(
    const NSNotificationCenter& center, const void* observer) {
  return static_cast<std::size_t>(std::count_if(
      center.registrations_.begin(), center.registrations_.end(),
      [observer](const NSNotificationCenter::Registration& r) { return r.observer == observer; }));
}

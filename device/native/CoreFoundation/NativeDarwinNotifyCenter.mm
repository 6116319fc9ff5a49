// Wraps CoreFoundation's Darwin notify centre: CFNotificationCenterGetDarwinNotifyCenter,
// CFNotificationCenterAddObserver, CFNotificationCenterRemoveEveryObserver,
// CFNotificationCenterPostNotification.
#include "native/CoreFoundation/NativeDarwinNotifyCenter.h"

#include <CoreFoundation/CoreFoundation.h>

#include <memory>
#include <mutex>
#include <vector>

namespace gw::native::corefoundation {

namespace {

// One registration with the centre. Its address is the observer the centre knows, so the
// trampoline finds the C++ callback again; it lives until it is removed.
struct Registration {
  const void* owner;
  DarwinCallback callback;
};

struct Registrations {
  std::mutex mutex;
  std::vector<std::unique_ptr<Registration>> all;
};

// Never destroyed: the centre may call back for as long as the process runs.
Registrations& registrations() {
  static Registrations* const instance = new Registrations();
  return *instance;
}

std::string utf8(CFStringRef string) {
  if (string == nullptr) return {};
  if (const char* fast = CFStringGetCStringPtr(string, kCFStringEncodingUTF8)) return fast;
  const CFIndex capacity =
      CFStringGetMaximumSizeForEncoding(CFStringGetLength(string), kCFStringEncodingUTF8) + 1;
  std::string text(static_cast<std::size_t>(capacity), '\0');
  if (!CFStringGetCString(string, text.data(), capacity, kCFStringEncodingUTF8)) return {};
  text.resize(std::char_traits<char>::length(text.c_str()));
  return text;
}

void trampoline(CFNotificationCenterRef, void* observer, CFNotificationName name, const void*,
                CFDictionaryRef) {
  DarwinCallback callback;
  {
    Registrations& all = registrations();
    std::lock_guard<std::mutex> lock(all.mutex);
    for (const auto& registration : all.all) {
      if (registration.get() == observer) callback = registration->callback;
    }
  }
  if (callback) callback(utf8(name));
}

CFStringRef createName(const std::string& name) {
  return CFStringCreateWithBytes(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(name.data()),
                                 static_cast<CFIndex>(name.size()), kCFStringEncodingUTF8, false);
}

}  // namespace

const void* darwinNotifyCenter() {
  return CFNotificationCenterGetDarwinNotifyCenter();
}

void addDarwinObserver(const void* owner, const std::string& name, DarwinCallback callback,
                       long suspensionBehavior) {
  CFStringRef observed = createName(name);
  if (observed == nullptr) return;
  auto registration = std::make_unique<Registration>(Registration{owner, std::move(callback)});
  void* observer = registration.get();
  {
    Registrations& all = registrations();
    std::lock_guard<std::mutex> lock(all.mutex);
    all.all.push_back(std::move(registration));
  }
  CFNotificationCenterAddObserver(
      CFNotificationCenterGetDarwinNotifyCenter(), observer, &trampoline, observed, nullptr,
      static_cast<CFNotificationSuspensionBehavior>(suspensionBehavior));
  CFRelease(observed);
}

void removeDarwinObservers(const void* owner) {
  std::vector<std::unique_ptr<Registration>> removed;
  {
    Registrations& all = registrations();
    std::lock_guard<std::mutex> lock(all.mutex);
    for (auto it = all.all.begin(); it != all.all.end();) {
      if ((*it)->owner == owner) {
        removed.push_back(std::move(*it));
        it = all.all.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (const auto& registration : removed) {
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(),
                                            registration.get());
  }
}

void postDarwinNotification(const std::string& name, bool deliverImmediately) {
  CFStringRef posted = createName(name);
  if (posted == nullptr) return;
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), posted, nullptr,
                                       nullptr, deliverImmediately);
  CFRelease(posted);
}

}  // namespace gw::native::corefoundation

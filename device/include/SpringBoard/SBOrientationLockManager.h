// The home screen's orientation-lock manager, on the system's object.
#pragma once

#include <memory>

#include "native/NativeObject.h"

class SBOrientationLockManager {
 public:
  static constexpr const char* kClassName = "SBOrientationLockManager";

  // The process's manager, the same on every call; null in a process without the class (every
  // process but the home screen's).
  static std::shared_ptr<SBOrientationLockManager> sharedInstance();

  bool isUserLocked() const;
  void lock();
  void unlock();

  explicit SBOrientationLockManager(gw::native::Object manager) : manager_(std::move(manager)) {}

 private:
  gw::native::Object manager_;
};

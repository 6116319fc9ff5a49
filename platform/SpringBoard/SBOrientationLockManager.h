// The home screen's orientation-lock manager. The lock itself is device state
// (HomeScreenState); this is the home-screen process's way to it. lock() and unlock() are the
// calls other code in the process (the tweak library) makes, so their changes are emitted as
// "lock" events by "tweak"; the user's own changes come from the simulator through
// HomeScreenState::setOrientationLocked(..., OrientationLockActor::User).
#pragma once

#include <memory>

class Device;

class SBOrientationLockManager {
 public:
  static constexpr const char* kClassName = "SBOrientationLockManager";

  // The process's manager, the same on every call; null in a process whose class registry
  // has no class "SBOrientationLockManager" (every process but the home screen's).
  static std::shared_ptr<SBOrientationLockManager> sharedInstance();

  bool isUserLocked() const;
  // Turn the lock on / off; nothing happens (and nothing is emitted) when it already is.
  void lock();
  void unlock();

  explicit SBOrientationLockManager(Device& device);

 private:
  std::weak_ptr<Device> device_;
};

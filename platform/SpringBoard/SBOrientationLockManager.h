// The home screen's orientation-lock manager: the home-screen process's way to the device's
// orientation lock. lock() and unlock() are the calls other code in the process (the tweak
// library) makes. On the simulated device the lock is the device's HomeScreenState, and these
// changes are emitted as "lock" events by "tweak"; the user's own changes come from the
// simulator through HomeScreenState::setOrientationLocked(..., OrientationLockActor::User).
#pragma once

#include <memory>

class SBOrientationLockManager {
 public:
  static constexpr const char* kClassName = "SBOrientationLockManager";

  virtual ~SBOrientationLockManager() = default;
  SBOrientationLockManager(const SBOrientationLockManager&) = delete;
  SBOrientationLockManager& operator=(const SBOrientationLockManager&) = delete;

  // The process's manager, the same on every call; null in a process whose class registry
  // has no class "SBOrientationLockManager" (every process but the home screen's).
  static std::shared_ptr<SBOrientationLockManager> sharedInstance();

  virtual bool isUserLocked() const = 0;
  // Turn the lock on / off; nothing happens (and nothing is emitted) when it already is.
  virtual void lock() = 0;
  virtual void unlock() = 0;

 protected:
  SBOrientationLockManager() = default;
};

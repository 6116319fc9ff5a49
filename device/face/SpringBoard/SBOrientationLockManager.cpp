#include "SpringBoard/SBOrientationLockManager.h"

#include <mutex>

#include "native/SpringBoard/NativeSpringBoard.h"

namespace native = gw::native::springboard;

std::shared_ptr<SBOrientationLockManager> SBOrientationLockManager::sharedInstance() {
  // The system's manager is made once and lives as long as the process; so does its face.
  static std::mutex mutex;
  static std::shared_ptr<SBOrientationLockManager>* const shared =
      new std::shared_ptr<SBOrientationLockManager>();
  std::lock_guard<std::mutex> lock(mutex);
  if (!*shared) {
    gw::native::Object manager = native::orientationLockManager();
    if (manager) *shared = std::make_shared<SBOrientationLockManager>(std::move(manager));
  }
  return *shared;
}

bool SBOrientationLockManager::isUserLocked() const {
  return native::isUserLocked(manager_);
}

void SBOrientationLockManager::lock() {
  native::lockOrientation(manager_);
}

void SBOrientationLockManager::unlock() {
  native::unlockOrientation(manager_);
}

#include "SpringBoard/SBOrientationLockManager.h"

#include "Device/Device.h"
#include "Device/Process.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "ObjCRuntime/runtime.h"
#include "SpringBoard/HomeScreenState.h"

namespace {

// Only applicationDidFinishLaunching: is dispatched through a method table; this class
// exists in the registry so that it can be found by name.
[[maybe_unused]] const bool kDeclared = ObjCClassRegistry::declareSystemClass(
    "SpringBoard", SBOrientationLockManager::kClassName, nullptr);

const ProcessLocal<std::shared_ptr<SBOrientationLockManager>> processManager;

}  // namespace

SBOrientationLockManager::SBOrientationLockManager(Device& device)
    : device_(device.weak_from_this()) {}

std::shared_ptr<SBOrientationLockManager> SBOrientationLockManager::sharedInstance() {
  if (!objc_getClass(kClassName)) return nullptr;
  auto& manager = processManager.get();
  if (!manager) manager = std::make_shared<SBOrientationLockManager>(Device::current());
  return manager;
}

bool SBOrientationLockManager::isUserLocked() const {
  auto device = device_.lock();
  return device && HomeScreenState::of(*device).isOrientationLocked();
}

void SBOrientationLockManager::lock() {
  if (auto device = device_.lock()) {
    HomeScreenState::of(*device).setOrientationLocked(true, OrientationLockActor::Tweak);
  }
}

void SBOrientationLockManager::unlock() {
  if (auto device = device_.lock()) {
    HomeScreenState::of(*device).setOrientationLocked(false, OrientationLockActor::Tweak);
  }
}

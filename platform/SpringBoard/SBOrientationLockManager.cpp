#include "SpringBoard/SBOrientationLockManager.h"

#include "Device/Device.h"
#include "Device/Process.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "ObjCRuntime/SystemClassDeclaration.h"
#include "ObjCRuntime/runtime.h"
#include "SpringBoard/HomeScreenState.h"

namespace {

// Only applicationDidFinishLaunching: is dispatched through a method table; this class
// exists in the registry so that it can be found by name.
[[maybe_unused]] const bool kDeclared =
    declareSystemClass("SpringBoard", SBOrientationLockManager::kClassName, nullptr);

// The manager of a home-screen process on the simulated device, reaching the lock of the
// device that the process ran on.
class DeviceOrientationLockManager final : public SBOrientationLockManager {
 public:
  explicit DeviceOrientationLockManager(Device& device) : device_(device.weak_from_this()) {}
  bool isUserLocked() const override;
  void lock() override;
  void unlock() override;

 private:
  std::weak_ptr<Device> device_;
};

const ProcessLocal<std::shared_ptr<SBOrientationLockManager>> processManager;

}  // namespace

std::shared_ptr<SBOrientationLockManager> SBOrientationLockManager::sharedInstance() {
  if (!objc_getClass(kClassName)) return nullptr;
  auto& manager = processManager.get();
  if (!manager) manager = std::make_shared<DeviceOrientationLockManager>(Device::current());
  return manager;
}

bool DeviceOrientationLockManager::isUserLocked() const {
  auto device = device_.lock();
  return device && HomeScreenState::of(*device).isOrientationLocked();
}

void DeviceOrientationLockManager::lock() {
  if (auto device = device_.lock()) {
    HomeScreenState::of(*device).setOrientationLocked(true, OrientationLockActor::Tweak);
  }
}

void DeviceOrientationLockManager::unlock() {
  if (auto device = device_.lock()) {
    HomeScreenState::of(*device).setOrientationLocked(false, OrientationLockActor::Tweak);
  }
}

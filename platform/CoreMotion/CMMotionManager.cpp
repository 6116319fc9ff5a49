#include "CoreMotion/CMMotionManager.h"

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"

CMMotionManager::CMMotionManager() : device_(Device::current().weak_from_this()) {}

bool CMMotionManager::isGyroAvailable() const {
  auto device = device_.lock();
  return device && MotionHardware::of(*device).isGyroAvailable();
}

bool CMMotionManager::isDeviceMotionAvailable() const {
  auto device = device_.lock();
  return device && MotionHardware::of(*device).isDeviceMotionAvailable();
}

void CMMotionManager::startDeviceMotionUpdatesUsingReferenceFrame(
    CMAttitudeReferenceFrame referenceFrame) {
  if (!isDeviceMotionAvailable()) return;
  referenceFrame_ = referenceFrame;
  active_ = true;
}

const CMDeviceMotion* CMMotionManager::deviceMotion() {
  if (!active_) return nullptr;
  auto device = device_.lock();
  if (!device) return nullptr;
  const MotionHardware& hardware = MotionHardware::of(*device);
  if (!hardware.isDeviceMotionAvailable()) return nullptr;
  latest_ = CMDeviceMotion(hardware.attitude(), hardware.attitudeTimestamp());
  return &latest_;
}

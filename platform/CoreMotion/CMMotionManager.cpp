#include "CoreMotion/CMMotionManager.h"

#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"

CMMotionManager::CMMotionManager() : hardware_(MotionHardware::shared(Device::current())) {}

bool CMMotionManager::isGyroAvailable() const {
  auto hardware = hardware_.lock();
  return hardware && hardware->isGyroAvailable();
}

bool CMMotionManager::isDeviceMotionAvailable() const {
  auto hardware = hardware_.lock();
  return hardware && hardware->isDeviceMotionAvailable();
}

void CMMotionManager::startDeviceMotionUpdatesUsingReferenceFrame(
    CMAttitudeReferenceFrame referenceFrame) {
  if (!isDeviceMotionAvailable()) return;
  referenceFrame_ = referenceFrame;
  active_ = true;
}

const CMDeviceMotion* CMMotionManager::deviceMotion() {
  if (!active_) return nullptr;
  auto hardware = hardware_.lock();
  if (!hardware || !hardware->isDeviceMotionAvailable()) return nullptr;
  latest_ = CMDeviceMotion(hardware->attitude(), hardware->attitudeTimestamp());
  return &latest_;
}

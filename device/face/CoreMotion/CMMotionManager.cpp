#include "CoreMotion/CMMotionManager.h"

#include "native/CoreMotion/NativeMotionManager.h"

namespace native = gw::native::motion;

CMMotionManager::CMMotionManager() : manager_(native::makeMotionManager()) {}

bool CMMotionManager::isGyroAvailable() const {
  return native::isGyroAvailable(manager_);
}

bool CMMotionManager::isDeviceMotionAvailable() const {
  return native::isDeviceMotionAvailable(manager_);
}

bool CMMotionManager::isDeviceMotionActive() const {
  return native::isDeviceMotionActive(manager_);
}

void CMMotionManager::startDeviceMotionUpdatesUsingReferenceFrame(
    CMAttitudeReferenceFrame referenceFrame) {
  referenceFrame_ = referenceFrame;
  native::startDeviceMotionUpdates(manager_, static_cast<unsigned>(referenceFrame));
}

void CMMotionManager::stopDeviceMotionUpdates() {
  native::stopDeviceMotionUpdates(manager_);
}

const CMDeviceMotion* CMMotionManager::deviceMotion() {
  if (!native::isDeviceMotionActive(manager_)) return nullptr;
  native::AttitudeSample sample;
  if (!native::latestDeviceMotion(manager_, sample)) return nullptr;
  latest_ = CMDeviceMotion(CMAttitude(sample.roll, sample.pitch), sample.timestamp);
  return &latest_;
}

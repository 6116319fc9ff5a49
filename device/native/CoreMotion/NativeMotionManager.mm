// Wraps CMMotionManager: gyroAvailable, deviceMotionAvailable, deviceMotionActive,
// startDeviceMotionUpdatesUsingReferenceFrame:, stopDeviceMotionUpdates, deviceMotion (its
// attitude's roll and pitch and its timestamp).
#include "native/CoreMotion/NativeMotionManager.h"

#import <CoreMotion/CoreMotion.h>

namespace gw::native::motion {

namespace {

CMMotionManager* managerOf(const Object& manager) {
  return (__bridge CMMotionManager*)manager.get();
}

}  // namespace

Object makeMotionManager() {
  return Object::retaining((__bridge const void*)[[CMMotionManager alloc] init]);
}

bool isGyroAvailable(const Object& manager) {
  return manager && managerOf(manager).gyroAvailable;
}

bool isDeviceMotionAvailable(const Object& manager) {
  return manager && managerOf(manager).deviceMotionAvailable;
}

bool isDeviceMotionActive(const Object& manager) {
  return manager && managerOf(manager).deviceMotionActive;
}

void startDeviceMotionUpdates(const Object& manager, unsigned referenceFrame) {
  if (!manager) return;
  [managerOf(manager)
      startDeviceMotionUpdatesUsingReferenceFrame:static_cast<CMAttitudeReferenceFrame>(
                                                      referenceFrame)];
}

void stopDeviceMotionUpdates(const Object& manager) {
  if (manager) [managerOf(manager) stopDeviceMotionUpdates];
}

bool latestDeviceMotion(const Object& manager, AttitudeSample& sample) {
  if (!manager) return false;
  CMDeviceMotion* motion = managerOf(manager).deviceMotion;
  if (motion == nil) return false;
  sample.roll = motion.attitude.roll;
  sample.pitch = motion.attitude.pitch;
  sample.timestamp = motion.timestamp;
  return true;
}

}  // namespace gw::native::motion

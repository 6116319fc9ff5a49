// CoreMotion's CMMotionManager, pulled for device-motion attitude.
#pragma once

#include "native/NativeObject.h"

namespace gw::native::motion {

Object makeMotionManager();
bool isGyroAvailable(const Object& manager);
bool isDeviceMotionAvailable(const Object& manager);
bool isDeviceMotionActive(const Object& manager);
// startDeviceMotionUpdatesUsingReferenceFrame: (CMAttitudeReferenceFrame's numbering), with no
// handler: samples are read with latestDeviceMotion.
void startDeviceMotionUpdates(const Object& manager, unsigned referenceFrame);
void stopDeviceMotionUpdates(const Object& manager);

struct AttitudeSample {
  double roll = 0;       // radians
  double pitch = 0;      // radians
  double timestamp = 0;  // seconds since the device booted
};
// The manager's deviceMotion; false (the sample untouched) while it has none.
bool latestDeviceMotion(const Object& manager, AttitudeSample& sample);

}  // namespace gw::native::motion

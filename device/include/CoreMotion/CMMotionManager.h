// CoreMotion's motion manager, on the real one. Samples are pulled: deviceMotion() gives the
// latest attitude each time it is asked, without any handler or queue.
#pragma once

#include "CoreMotion/CMAttitude.h"
#include "CoreMotion/CMDeviceMotion.h"
#include "native/NativeObject.h"

class CMMotionManager {
 public:
  CMMotionManager();

  bool isGyroAvailable() const;
  bool isDeviceMotionAvailable() const;
  bool isDeviceMotionActive() const;

  void startDeviceMotionUpdatesUsingReferenceFrame(CMAttitudeReferenceFrame referenceFrame);
  void stopDeviceMotionUpdates();
  CMAttitudeReferenceFrame attitudeReferenceFrame() const { return referenceFrame_; }

  // The latest sample, or nullptr before the first one arrives or after updates stopped. The
  // pointer stays valid as long as the manager and is refreshed in place by the next call.
  // Its timestamp is seconds since the device booted.
  const CMDeviceMotion* deviceMotion();

 private:
  gw::native::Object manager_;
  CMAttitudeReferenceFrame referenceFrame_ = CMAttitudeReferenceFrameXArbitraryZVertical;
  CMDeviceMotion latest_;
};

// CoreMotion's motion manager. It reads the motion sensors of the device of the process that
// made it (on the simulated device, that device's MotionHardware, held weakly). Samples are
// pulled: deviceMotion() gives the latest attitude each time it is asked, without any handler
// or queue.
#pragma once

#include <memory>

#include "CoreMotion/CMAttitude.h"
#include "CoreMotion/CMDeviceMotion.h"

class MotionHardware;

class CMMotionManager {
 public:
  CMMotionManager();  // on the current process's device

  bool isGyroAvailable() const;
  bool isDeviceMotionAvailable() const;
  bool isDeviceMotionActive() const { return active_; }

  // Starts device-motion updates; does nothing when device motion is unavailable.
  void startDeviceMotionUpdatesUsingReferenceFrame(CMAttitudeReferenceFrame referenceFrame);
  void stopDeviceMotionUpdates() { active_ = false; }
  CMAttitudeReferenceFrame attitudeReferenceFrame() const { return referenceFrame_; }

  // The latest sample, or nullptr before updates have started, after they stopped, or while
  // device motion is unavailable. The pointer stays valid as long as the manager and is
  // refreshed in place by the next call: asking allocates nothing.
  const CMDeviceMotion* deviceMotion();

 private:
  std::weak_ptr<const MotionHardware> hardware_;
  bool active_ = false;
  CMAttitudeReferenceFrame referenceFrame_ = CMAttitudeReferenceFrameXArbitraryZVertical;
  CMDeviceMotion latest_;
};

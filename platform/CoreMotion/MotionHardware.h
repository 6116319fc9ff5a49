// The device's motion sensors, a device service that the simulator and tests drive. The
// attitude is the device's physical attitude: it holds until it is set again, and every
// reader (CMMotionManager) always gets the latest. By default a gyroscope and device motion
// are available and the device lies flat, face up (roll 0, pitch 0).
#pragma once

#include <functional>
#include <map>
#include <memory>

#include "CoreMotion/CMAttitude.h"

class Device;

class MotionHardware : public std::enable_shared_from_this<MotionHardware> {
 public:
  using AttitudeObserver = std::function<void(const CMAttitude& attitude)>;

  // The service of `device` / of the current process's device.
  static MotionHardware& of(Device& device);
  static MotionHardware& current();
  // The service of `device`, shared with it: a reader that holds it weakly loses it when the
  // device goes.
  static std::shared_ptr<MotionHardware> shared(Device& device);

  // Sets the physical attitude (radians) and tells the observers, in order of subscription.
  void setAttitude(double rollRadians, double pitchRadians);
  const CMAttitude& attitude() const { return attitude_; }
  // Virtual time of the last setAttitude (0 when never set).
  double attitudeTimestamp() const { return attitudeTimestamp_; }

  void setGyroAvailable(bool available) { gyroAvailable_ = available; }
  bool isGyroAvailable() const { return gyroAvailable_; }
  void setDeviceMotionAvailable(bool available) { deviceMotionAvailable_ = available; }
  bool isDeviceMotionAvailable() const { return deviceMotionAvailable_; }

  // For device-side followers of the attitude (the home screen's auto-rotation). Returns a
  // token for removeAttitudeObserver.
  int addAttitudeObserver(AttitudeObserver observer);
  void removeAttitudeObserver(int token);

 private:
  Device* device_ = nullptr;  // set by of(); the service lives inside its device
  CMAttitude attitude_;
  double attitudeTimestamp_ = 0;
  bool gyroAvailable_ = true;
  bool deviceMotionAvailable_ = true;
  std::map<int, AttitudeObserver> observers_;
  int nextObserver_ = 1;
};

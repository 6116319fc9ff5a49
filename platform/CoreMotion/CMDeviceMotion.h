// One device-motion sample (CoreMotion's CMDeviceMotion); only the attitude is modelled.
#pragma once

#include "CoreMotion/CMAttitude.h"

class CMDeviceMotion {
 public:
  CMDeviceMotion() = default;
  explicit CMDeviceMotion(CMAttitude attitude, double timestampSeconds = 0)
      : attitude_(attitude), timestamp_(timestampSeconds) {}
  const CMAttitude& attitude() const { return attitude_; }
  // Virtual device time of the sample, seconds.
  double timestamp() const { return timestamp_; }

 private:
  CMAttitude attitude_;
  double timestamp_ = 0;
};

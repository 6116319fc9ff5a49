// The delegate of the simulator's shadow motion helper (see HomeScreenProbe): it makes no
// decisions, it only makes each report visible as the device event "orientation" with
// "value" (1 or 2), which the runner puts into the timeline.
#pragma once

#include <cstdint>

#include "VXCommon/VXMotionDelegate.h"

class Device;

namespace sim {

class OrientationRecorder : public VXMotionDelegate {
 public:
  explicit OrientationRecorder(Device& device) : device_(device) {}
  void orientationChanged(std::uint64_t orientation) override;

 private:
  Device& device_;
};

}  // namespace sim

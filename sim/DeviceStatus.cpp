#include "sim/DeviceStatus.h"

#include "SpringBoard/HomeScreenState.h"

namespace sim {

DeviceStatus DeviceStatus::of(Device& device) {
  const HomeScreenState& home = HomeScreenState::of(device);
  DeviceStatus status;
  status.orientationLocked = home.isOrientationLocked();
  status.deviceLocked = home.isDeviceLocked();
  if (auto front = home.frontApplication()) {
    status.frontApp = front->bundleIdentifier();
    status.orientation = home.frontApplicationOrientation();
  }
  return status;
}

}  // namespace sim

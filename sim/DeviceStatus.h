// What a person sees of the simulated phone at a glance, for the human timeline's state
// column: the orientation lock, the front app and how it is turned, the device lock, and
// whether the settings pane is on screen.
#pragma once

#include <string>

class Device;

namespace sim {

struct DeviceStatus {
  bool orientationLocked = false;
  bool deviceLocked = false;
  std::string frontApp;       // bundle identifier; empty while the home screen is shown
  long long orientation = 1;  // the front app's interface orientation, 1-4
  bool settingsOpen = false;  // the Settings app shows the pane over everything

  // Reads the device's home-screen state (settingsOpen is left false: the runner knows it).
  static DeviceStatus of(Device& device);

  friend bool operator==(const DeviceStatus&, const DeviceStatus&) = default;
};

}  // namespace sim

// Puts a fresh (or kept) simulated device into the state a scenario's setup statements ask
// for, before anything boots: screen, idiom, motion sensors, installed apps, the preferences
// file and the button's lock image.
#pragma once

#include <string>

#include "sim/DeviceArtwork.h"
#include "sim/Scenario.h"

class Device;
class Process;

namespace sim {

class DeviceSetup {
 public:
  static constexpr const char* kPreferencesPath =
      "/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist";
  static constexpr const char* kImageFolder = "/var/mobile/Library/Preferences/GyrowhirlPrefs";
  static constexpr const char* kLockImagePath =
      "/var/mobile/Library/Preferences/GyrowhirlPrefs/lock.png";

  // Applies the setup of `scenario`; files are written from inside `hand`, the simulator's
  // own process on the device. A preferences file is written only when the scenario has
  // `pref` lines (it then replaces any file a kept device root holds). False with a message
  // naming the scenario line when something cannot be set up.
  // The lock image comes from `artwork`.
  static bool apply(Device& device, Process& hand, const Scenario& scenario,
                    const DeviceArtwork& artwork, std::string& error);
};

}  // namespace sim

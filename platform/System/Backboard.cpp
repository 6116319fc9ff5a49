#include "System/Backboard.h"

#include "Device/Device.h"
#include "Device/Process.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "SpringBoard/SimulatedSpringBoard.h"

Backboard& Backboard::of(Device& device) {
  return device.service<Backboard>();
}

void Backboard::defaultHomeScreenBoot(Device& device) {
  std::shared_ptr<Process> homeScreen = device.restart(SpringBoard::kClassName);
  ProcessScope scope(*homeScreen);
  SimulatedSpringBoard::finishLaunching();
}

void Backboard::restartUserInterface(Device& device) {
  ++restarts_;
  device.emit("respring", EventFields{});
  device.terminate(PreferencesPaneHost::kSettingsProcessName);
  // A copy: the boot may set a new boot.
  HomeScreenBoot boot = boot_ ? boot_ : HomeScreenBoot(&Backboard::defaultHomeScreenBoot);
  boot(device);
}

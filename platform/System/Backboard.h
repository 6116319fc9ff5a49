// The device's backboard daemon, as far as ending it matters: when it ends, the device's user
// interface restarts, and the home-screen process with it (a respring); the Settings app ends
// with it and is not started again. A device service.
#pragma once

#include <cstdint>
#include <functional>

class Device;

class Backboard {
 public:
  // Starts the home screen afresh on `device`.
  using HomeScreenBoot = std::function<void(Device& device)>;

  static Backboard& of(Device& device);

  // How the home screen comes back after a respring. The default ends the process
  // "SpringBoard", launches it again and finishes its launch inside the new process
  // (SimulatedSpringBoard::finishLaunching). A simulator that injects libraries into the home
  // screen sets its own boot here, so that a respring boots the way the device first did.
  void setHomeScreenBoot(HomeScreenBoot boot) { boot_ = std::move(boot); }

  // Restarts the user interface: emits the device event "respring", ends the Settings app if
  // it runs, then boots the home screen. Called from a task on the device's clock, never from
  // inside the home screen.
  void restartUserInterface(Device& device);
  std::uint64_t restartCount() const { return restarts_; }

  static void defaultHomeScreenBoot(Device& device);

 private:
  HomeScreenBoot boot_;
  std::uint64_t restarts_ = 0;
};

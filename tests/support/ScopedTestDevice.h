// A simulated device for one test: rooted in a fresh temporary folder (removed afterwards),
// with one launched process that stays current for the helper's lifetime.
//
//   ScopedTestDevice device;           // "SpringBoard" is running and current
//   ...schedule timers, post notifications...
//   device.runFor(2.0);
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Device/TemporaryFolder.h"

class ScopedTestDevice {
 public:
  explicit ScopedTestDevice(const std::string& processName = "SpringBoard")
      : root_("gyrowhirl-test-") {
    if (!root_.valid()) std::abort();
    device_ = Device::create(root_.path());
    process_ = device_->launch(processName);
    scope_.emplace(*process_);
  }
  ~ScopedTestDevice() {
    scope_.reset();
    process_.reset();
    device_.reset();
  }
  ScopedTestDevice(const ScopedTestDevice&) = delete;
  ScopedTestDevice& operator=(const ScopedTestDevice&) = delete;

  Device& device() { return *device_; }
  // The process the helper keeps current (the one launched, or the last restart()).
  Process& process() { return *process_; }
  const std::filesystem::path& root() const { return root_.path(); }
  void runFor(double seconds) { device_->runFor(seconds); }

  // Restarts the current process and makes the fresh one current.
  Process& restart() {
    const std::string name = process_->name();
    scope_.reset();
    process_ = device_->restart(name);
    scope_.emplace(*process_);
    return *process_;
  }

 private:
  TemporaryFolder root_;  // outlives the device
  std::shared_ptr<Device> device_;
  std::shared_ptr<Process> process_;
  std::optional<ProcessScope> scope_;
};

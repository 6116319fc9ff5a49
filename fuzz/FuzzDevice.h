// The simulated device a fuzz target works on: made once per fuzzing process, rooted in a
// fresh folder in memory when it can be (see TemporaryFolder), removed when the process exits
// normally. One process is launched on it and made current for good.
#pragma once

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Device/TemporaryFolder.h"

class FuzzDevice {
 public:
  explicit FuzzDevice(const std::string& processName)
      : root_("gyrowhirl-fuzz-", TemporaryFolder::Placement::Memory) {
    if (!root_.valid()) std::abort();
    device_ = Device::create(root_.path());
    process_ = device_->launch(processName);
    scope_.emplace(*process_);
  }
  ~FuzzDevice() {
    scope_.reset();
    process_.reset();
    device_.reset();
  }
  FuzzDevice(const FuzzDevice&) = delete;
  FuzzDevice& operator=(const FuzzDevice&) = delete;

  Device& device() { return *device_; }
  Process& process() { return *process_; }

 private:
  TemporaryFolder root_;  // outlives the device
  std::shared_ptr<Device> device_;
  std::shared_ptr<Process> process_;
  std::optional<ProcessScope> scope_;
};

// The simulated device a fuzz target works on: made once per fuzzing process, rooted in a
// fresh folder under /dev/shm when there is one (the atomic writes flush every file; on a
// memory file system that costs nothing) or else under the temporary folder, and removed when
// the process exits normally. One process is launched on it and made current for good.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "Device/Device.h"
#include "Device/Process.h"

class FuzzDevice {
 public:
  explicit FuzzDevice(const std::string& processName) {
    const std::filesystem::path base = ::access("/dev/shm", W_OK) == 0
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "gyrowhirl-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    device_ = Device::create(root_);
    process_ = device_->launch(processName);
    scope_.emplace(*process_);
  }
  ~FuzzDevice() {
    scope_.reset();
    process_.reset();
    device_.reset();
    std::error_code error;
    std::filesystem::remove_all(root_, error);
  }
  FuzzDevice(const FuzzDevice&) = delete;
  FuzzDevice& operator=(const FuzzDevice&) = delete;

  Device& device() { return *device_; }
  Process& process() { return *process_; }

 private:
  std::filesystem::path root_;
  std::shared_ptr<Device> device_;
  std::shared_ptr<Process> process_;
  std::optional<ProcessScope> scope_;
};

// The device's file system: absolute device paths ("/var/mobile/Library/Preferences/x.plist")
// resolve under the device's root folder on the host, so the system's code keeps its paths
// exactly as the device spells them. A path can never reach outside the root ("..", symlinks
// components are resolved lexically and clamped at the root).
//
// Writes are atomic: the bytes go to a temporary file in the same folder, are flushed, and the
// temporary file is renamed over the target; a failed write leaves the old file as it was.
// Every successful change is emitted as a device event "file" with "op" ("write" | "delete")
// and "path" (the device path).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Device;

class DeviceFileSystem {
 public:
  // The steps of an atomic write, for fault injection in tests.
  enum class WriteStep { CreateTemporary, WriteBytes, Flush, Rename };
  // Returns true to make the write fail at that step (as a crash or an I/O error would).
  using FaultInjector = std::function<bool(WriteStep step, const std::string& devicePath)>;
  // Returns true to make the removal of an existing item fail (as a protected file would).
  using RemoveFaultInjector = std::function<bool(const std::string& devicePath)>;

  DeviceFileSystem(Device& device, std::filesystem::path root);

  const std::filesystem::path& root() const { return root_; }
  // The host path that stands for `devicePath`; relative paths are taken from "/".
  std::filesystem::path hostPath(std::string_view devicePath) const;

  bool exists(std::string_view devicePath) const;
  bool isDirectory(std::string_view devicePath) const;
  // The whole file, or nullopt with a description of the failure in `error`.
  std::optional<std::vector<std::uint8_t>> read(std::string_view devicePath,
                                                std::string* error = nullptr) const;
  // Atomic replacement; creates missing parent folders. False (old file untouched) on failure.
  bool writeAtomically(std::string_view devicePath, std::span<const std::uint8_t> bytes,
                       std::string* error = nullptr);
  bool remove(std::string_view devicePath, std::string* error = nullptr);
  bool createDirectories(std::string_view devicePath);

  void setFaultInjectorForTesting(FaultInjector injector) { faultInjector_ = std::move(injector); }
  void setRemoveFaultInjectorForTesting(RemoveFaultInjector injector) {
    removeFaultInjector_ = std::move(injector);
  }

 private:
  Device& device_;
  std::filesystem::path root_;
  FaultInjector faultInjector_;
  RemoveFaultInjector removeFaultInjector_;
};

// The device's file system: absolute device paths ("/var/mobile/Library/Preferences/x.plist")
// resolve under the device's root folder on the host, so the system's code keeps its paths
// exactly as the device spells them. A path can never reach outside the root: ".." components
// are resolved lexically and clamped at the root, and every operation (reads, writes with their
// temporary files and renames, removals, folder creation, existence tests, lock files) opens
// its host path beneath the root without following any symbolic link out of it (see
// BeneathRoot.h). A removal takes a link away itself, never what it points to.
//
// Reads take regular files only, of at most kMaxReadBytes: a folder, a FIFO, a device or a
// larger file is refused without reading it (a FIFO without waiting for a writer).
//
// Writes are atomic: the bytes go to a temporary file in the same folder, are flushed, and the
// temporary file is renamed over the target; a failed write leaves the old file as it was.
// A writer that dies leaves its temporary file behind; the next write of the same target
// removes the temporary files of writers whose process has ended (see TemporaryFileName.h).
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

  // The largest file a read returns.
  static constexpr std::size_t kMaxReadBytes = 64 * 1024 * 1024;

  DeviceFileSystem(Device& device, std::filesystem::path root);

  // `devicePath` with ".", ".." and repeated separators resolved: always absolute, ".." at the
  // top stays at "/".
  static std::string normalisedPath(std::string_view devicePath);

  const std::filesystem::path& root() const { return root_; }
  // The host path that stands for `devicePath`; relative paths are taken from "/".
  std::filesystem::path hostPath(std::string_view devicePath) const;

  bool exists(std::string_view devicePath) const;
  bool isDirectory(std::string_view devicePath) const;
  // The whole file, or nullopt with a description of the failure in `error` and its errno in
  // `errorNumber` (ENOENT: there is no such file; EFBIG: larger than kMaxReadBytes; EINVAL:
  // not a regular file).
  std::optional<std::vector<std::uint8_t>> read(std::string_view devicePath,
                                                std::string* error = nullptr,
                                                int* errorNumber = nullptr) const;
  // Atomic replacement; creates missing parent folders. False (old file untouched) on failure.
  bool writeAtomically(std::string_view devicePath, std::span<const std::uint8_t> bytes,
                       std::string* error = nullptr);
  bool remove(std::string_view devicePath, std::string* error = nullptr);
  bool createDirectories(std::string_view devicePath);
  // The file opened for reading and writing, created empty (mode 0644, with its folders) when
  // missing, for an advisory lock; the caller owns the descriptor. -1 on failure.
  int openCreating(std::string_view devicePath);

  void setFaultInjectorForTesting(FaultInjector injector) { faultInjector_ = std::move(injector); }
  void setRemoveFaultInjectorForTesting(RemoveFaultInjector injector) {
    removeFaultInjector_ = std::move(injector);
  }

 private:
  // The root folder opened O_PATH, or -1.
  int openRoot() const;

  Device& device_;
  std::filesystem::path root_;
  FaultInjector faultInjector_;
  RemoveFaultInjector removeFaultInjector_;
};

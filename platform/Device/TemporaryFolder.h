// A fresh, private folder for a simulated device's root (or any scratch files), removed with
// everything in it when the object goes away.
//
// Memory placement puts it under /dev/shm when that is writable: the device's atomic writes
// flush every file, which costs nothing on a memory file system. Otherwise, and by default,
// it goes under the system's temporary folder ($TMPDIR, else /tmp).
#pragma once

#include <filesystem>
#include <string>

class TemporaryFolder {
 public:
  enum class Placement { Temporary, Memory };

  // `prefix` starts the folder's name (a random suffix follows). Check valid() afterwards:
  // the folder may not be creatable (a full disk, an unwritable temporary folder).
  explicit TemporaryFolder(const std::string& prefix, Placement placement = Placement::Temporary);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  bool valid() const { return !path_.empty(); }
  // Empty when the folder could not be made.
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

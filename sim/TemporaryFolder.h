// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes away.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

class TemporaryFolder {
 public:
  // `prefix` starts the folder's name; check valid() afterwards.
  explicit TemporaryFolder(const std::string& prefix);
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  bool valid() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace sim

#include "Device/TemporaryFolder.h"

#include <stdlib.h>
#include <unistd.h>

#include <system_error>

TemporaryFolder::TemporaryFolder(const std::string& prefix, Placement placement) {
  std::filesystem::path base;
  if (placement == Placement::Memory && ::access("/dev/shm", W_OK) == 0) {
    base = "/dev/shm";
  } else {
    std::error_code error;
    base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
  }
  std::string pattern = (base / (prefix + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  if (path_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

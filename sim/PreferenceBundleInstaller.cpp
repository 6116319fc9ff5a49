#include "sim/PreferenceBundleInstaller.h"

#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"

namespace sim {
namespace {

// Resource files are small; anything larger is not one of them.
constexpr std::uintmax_t kMaxResourceBytes = 16 * 1024 * 1024;

}  // namespace

bool PreferenceBundleInstaller::install(Device& device, const std::filesystem::path& resourceFolder,
                                        const std::filesystem::path& moduleFile,
                                        std::string& error) {
  std::error_code ec;
  std::filesystem::directory_iterator entries(resourceFolder, ec);
  if (ec) {
    error = "cannot read the bundle resources in '" + resourceFolder.string() + "'";
    return false;
  }
  for (const auto& entry : entries) {
    if (!entry.is_regular_file(ec)) continue;
    if (entry.file_size(ec) > kMaxResourceBytes) {
      error = "the bundle resource '" + entry.path().string() + "' is too large";
      return false;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
      error = "cannot read the bundle resource '" + entry.path().string() + "'";
      return false;
    }
    const std::string devicePath =
        std::string(kBundlePath) + "/" + entry.path().filename().string();
    std::string reason;
    if (!device.fileSystem().writeAtomically(devicePath, bytes, &reason)) {
      error = "cannot install " + devicePath + ": " + reason;
      return false;
    }
  }
  if (!moduleFile.empty()) device.setLibraryLocation(kLibraryName, moduleFile);
  return true;
}

std::filesystem::path PreferenceBundleInstaller::builtResourceFolder() {
  return std::filesystem::path(GW_SOURCE_DIR) / "gyrowhirlprefs" / "Resources";
}

std::filesystem::path PreferenceBundleInstaller::builtModuleFile() {
  return std::filesystem::path(GW_BUILD_DIR) / "libgyrowhirlprefs.so";
}

}  // namespace sim

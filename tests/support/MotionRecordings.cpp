#include "support/MotionRecordings.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace test_support {
namespace {

// Where the setting points: the environment first, then the build's configuration.
std::string configuredFolder() {
  if (const char* fromEnvironment = std::getenv("GW_MOTION_DATA")) return fromEnvironment;
  return GW_MOTION_DATA_CONFIGURED;
}

}  // namespace

std::filesystem::path motionRecordingsFolder() {
  const std::string folder = configuredFolder();
  std::error_code error;
  if (folder.empty() || !std::filesystem::is_directory(folder, error)) return {};
  return folder;
}

std::string motionRecordingsMissing() {
  const std::string folder = configuredFolder();
  std::string where =
      folder.empty() ? std::string("no folder is set") : "'" + folder + "' is not a folder";
  return "the real motion recordings (tyrex_*.csv) are not available: " + where +
         ". Point at them with the environment variable GW_MOTION_DATA=FOLDER, or configure "
         "with cmake -DGW_MOTION_DATA=FOLDER (see README.md, 'Replaying traces and plotting "
         "them').";
}

bool motionRecordingsRequired() {
  const char* required = std::getenv("GW_REQUIRE_MOTION_DATA");
  return required != nullptr && std::string_view(required) == "1";
}

}  // namespace test_support

// Installs the settings bundle on a simulated device as a package would: its resources (the
// "Root" specifier list, Info.plist) into "/Library/PreferenceBundles/gyrowhirlprefs.bundle",
// and its code registered with the device under the bundle's executable name, so that the
// Settings app loads it when the pane opens (see PreferencesPaneHost).
#pragma once

#include <filesystem>
#include <string>

class Device;

namespace sim {

class PreferenceBundleInstaller {
 public:
  static constexpr const char* kBundlePath = "/Library/PreferenceBundles/gyrowhirlprefs.bundle";
  static constexpr const char* kLibraryName = "gyrowhirlprefs";

  // Copies every regular file of `resourceFolder` (on the host) into the bundle folder on the
  // device and, when `moduleFile` is not empty, tells the device that the library
  // "gyrowhirlprefs" lives there. False with a reason in `error`.
  static bool install(Device& device, const std::filesystem::path& resourceFolder,
                      const std::filesystem::path& moduleFile, std::string& error);

  // The source tree's resource folder and the built module of this build.
  static std::filesystem::path builtResourceFolder();
  static std::filesystem::path builtModuleFile();
};

}  // namespace sim

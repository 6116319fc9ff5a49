// What the home screen knows about an installed app's bundle (SBApplicationInfo).
#pragma once

#include <string>

class SBApplicationInfo {
 public:
  // `bundlePath`: the device path of the app's bundle folder, without a trailing "/".
  explicit SBApplicationInfo(std::string bundlePath) : bundlePath_(std::move(bundlePath)) {}

  // The bundle folder as a file URL with a trailing "/", as the device gives it:
  // "file:///var/containers/Bundle/Application/<UUID>/<Name>.app/".
  std::string installInstanceID() const;

 private:
  std::string bundlePath_;
};

// An installed app as the home screen sees it (SBApplication). Immutable: reinstalling an app
// makes a new object.
#pragma once

#include <memory>
#include <string>

#include "SpringBoard/SBApplicationInfo.h"

class SBApplication {
 public:
  // `bundlePath`: device path of the bundle folder, no trailing "/". `supportedOrientations`:
  // the UIInterfaceOrientationMask its Info.plist declares, 0 when it declares none.
  SBApplication(std::string bundleIdentifier, std::string bundlePath,
                unsigned supportedOrientations);

  const std::string& bundleIdentifier() const { return bundleIdentifier_; }
  // The app's bundle information; the same object on every call.
  const std::shared_ptr<SBApplicationInfo>& info() const { return info_; }

  const std::string& bundlePath() const { return bundlePath_; }
  unsigned supportedInterfaceOrientations() const { return supportedOrientations_; }

 private:
  std::string bundleIdentifier_;
  std::string bundlePath_;
  unsigned supportedOrientations_;
  std::shared_ptr<SBApplicationInfo> info_;
};

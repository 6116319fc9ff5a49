// An installed app as the home screen sees it (SBApplication), on the system's object.
#pragma once

#include <memory>
#include <string>

#include "SpringBoard/SBApplicationInfo.h"
#include "native/NativeObject.h"

class SBApplication {
 public:
  explicit SBApplication(gw::native::Object application);

  const std::string& bundleIdentifier() const { return bundleIdentifier_; }
  // The app's bundle information; the same object on every call (null when the system gives
  // none).
  const std::shared_ptr<SBApplicationInfo>& info() const { return info_; }

  // The bundle folder's path without a trailing "/"; empty when the system does not say.
  std::string bundlePath() const;
  // The UIInterfaceOrientationMask its bundle declares; 0 when the system does not say.
  unsigned supportedInterfaceOrientations() const;

 private:
  gw::native::Object application_;
  gw::native::Object nativeInfo_;
  std::string bundleIdentifier_;
  std::shared_ptr<SBApplicationInfo> info_;
};

#include "SpringBoard/SBApplication.h"

#include "native/SpringBoard/NativeSpringBoard.h"

namespace native = gw::native::springboard;

SBApplication::SBApplication(gw::native::Object application)
    : application_(std::move(application)),
      nativeInfo_(native::applicationInfo(application_)),
      bundleIdentifier_(native::bundleIdentifier(application_)),
      info_(nativeInfo_ ? std::make_shared<SBApplicationInfo>(nativeInfo_) : nullptr) {}

std::string SBApplication::bundlePath() const {
  return native::bundlePath(nativeInfo_);
}

unsigned SBApplication::supportedInterfaceOrientations() const {
  return native::supportedInterfaceOrientations(nativeInfo_);
}

#include "SpringBoard/SBApplication.h"

SBApplication::SBApplication(std::string bundleIdentifier, std::string bundlePath,
                             unsigned supportedOrientations)
    : bundleIdentifier_(std::move(bundleIdentifier)),
      bundlePath_(std::move(bundlePath)),
      supportedOrientations_(supportedOrientations),
      info_(std::make_shared<SBApplicationInfo>(bundlePath_)) {}

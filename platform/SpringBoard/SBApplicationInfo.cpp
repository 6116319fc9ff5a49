#include "SpringBoard/SBApplicationInfo.h"

std::string SBApplicationInfo::installInstanceID() const {
  return "file://" + bundlePath_ + "/";
}

#include "SpringBoard/SBApplicationInfo.h"

#include "native/SpringBoard/NativeSpringBoard.h"

std::string SBApplicationInfo::installInstanceID() const {
  return gw::native::springboard::installInstanceID(info_);
}

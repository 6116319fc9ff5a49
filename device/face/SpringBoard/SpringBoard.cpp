#include "SpringBoard/SpringBoard.h"

#include "native/SpringBoard/NativeSpringBoard.h"

namespace native = gw::native::springboard;

SpringBoard::SpringBoard() : application_(native::sharedApplication()) {}

SpringBoard::SpringBoard(gw::native::Object application) : application_(std::move(application)) {}

std::shared_ptr<SBApplication> SpringBoard::_accessibilityFrontMostApplication() const {
  gw::native::Object front = native::frontMostApplication(application_);
  if (!front) return nullptr;
  return std::make_shared<SBApplication>(std::move(front));
}

bool SpringBoard::isLocked() const {
  return native::isLocked(application_);
}

long long SpringBoard::_frontMostAppOrientation() const {
  return native::frontMostAppOrientation(application_);
}

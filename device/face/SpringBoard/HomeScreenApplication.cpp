#include "face/SpringBoard/HomeScreenApplication.h"

#include "SpringBoard/SpringBoard.h"
#include "native/SpringBoard/NativeSpringBoard.h"

namespace gw::device {

std::shared_ptr<UIApplication> makeHomeScreenApplication() {
  gw::native::Object application = gw::native::springboard::sharedApplication();
  if (!gw::native::springboard::isHomeScreenApplication(application)) return nullptr;
  return std::make_shared<SpringBoard>(std::move(application));
}

}  // namespace gw::device

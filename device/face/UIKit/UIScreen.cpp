// UIScreen on [UIScreen mainScreen] (native/UIKit/NativeScreen.h).
#include "UIKit/UIScreen.h"

#include "native/UIKit/NativeScreen.h"

UIScreen& UIScreen::mainScreen() {
  static UIScreen screen;  // stateless: every call asks UIKit
  return screen;
}

CGRect UIScreen::bounds() const {
  const gw::native::Rect r = gw::native::screen::mainBounds();
  return CGRectMake(r.origin.x, r.origin.y, r.size.width, r.size.height);
}

CGFloat UIScreen::scale() const {
  return gw::native::screen::mainScale();
}

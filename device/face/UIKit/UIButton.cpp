// UIButton on the native button (native/UIKit/NativeButton.h): the images are kept here and
// handed to the native button for the same state.
#include "UIKit/UIButton.h"

#include "UIKit/ControlStateImages.h"
#include "UIKit/UIImage.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeButton.h"

namespace {

gw::native::Object nativeOf(const std::shared_ptr<UIImage>& image) {
  return image ? gw::uikit::Access::nativeImage(*image) : gw::native::Object();
}

}  // namespace

std::shared_ptr<UIButton> UIButton::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIButton>(frame);
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state) {
  gw::native::button::setBackgroundImage(gw::uikit::Access::nativeView(*this), nativeOf(image),
                                         state);
  gw::uikit::storeImage(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
  return gw::uikit::imageFor(backgroundImages_, state);
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
  gw::native::button::setImage(gw::uikit::Access::nativeView(*this), nativeOf(image), state);
  gw::uikit::storeImage(images_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
  return gw::uikit::imageFor(images_, state);
}

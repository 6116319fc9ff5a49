// UIButton on the native button (native/UIKit/NativeButton.h): the images are kept here and
// handed to the native button for the same state.
#include "UIKit/UIButton.h"

#include "UIKit/UIImage.h"
#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeButton.h"

namespace {

void store(std::map<UIControlState, std::shared_ptr<UIImage>>& images,
           std::shared_ptr<UIImage> image, UIControlState state) {
  if (image) {
    images[state] = std::move(image);
  } else {
    images.erase(state);
  }
}

std::shared_ptr<UIImage> lookUp(const std::map<UIControlState, std::shared_ptr<UIImage>>& images,
                                UIControlState state) {
  if (auto it = images.find(state); it != images.end()) return it->second;
  if (auto it = images.find(UIControlStateNormal); it != images.end()) return it->second;
  return nullptr;
}

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
  store(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
  return lookUp(backgroundImages_, state);
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
  gw::native::button::setImage(gw::uikit::Access::nativeView(*this), nativeOf(image), state);
  store(images_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
  return lookUp(images_, state);
}

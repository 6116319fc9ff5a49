#include "UIKit/UIButton.h"

#include "UIKit/ControlStateImages.h"
#include "UIKit/UIImage.h"

std::shared_ptr<UIButton> UIButton::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIButton>(frame);
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state) {
  gw::uikit::storeImage(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
  return gw::uikit::imageFor(backgroundImages_, state);
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
  gw::uikit::storeImage(images_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
  return gw::uikit::imageFor(images_, state);
}

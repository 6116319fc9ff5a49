#include "UIKit/UIButton.h"

#include "UIKit/UIImage.h"

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

}  // namespace

std::shared_ptr<UIButton> UIButton::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIButton>(frame);
}

void UIButton::setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state) {
  store(backgroundImages_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::backgroundImageForState(UIControlState state) const {
  return lookUp(backgroundImages_, state);
}

void UIButton::setImage(std::shared_ptr<UIImage> image, UIControlState state) {
  store(images_, std::move(image), state);
}

std::shared_ptr<UIImage> UIButton::imageForState(UIControlState state) const {
  return lookUp(images_, state);
}

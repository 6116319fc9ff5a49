// UIKit's button: a control with an image and a background image for each control state.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "UIKit/UIControl.h"

class UIImage;

class UIButton : public UIControl {
 public:
  UIButton() : UIButton(CGRectZero) {}
  explicit UIButton(const CGRect& frame) : UIControl(frame) {}
  static std::shared_ptr<UIButton> initWithFrame(const CGRect& frame);
  std::string className() const override { return "UIButton"; }

  // setBackgroundImage:forState: — a null image removes the one of that state.
  void setBackgroundImage(std::shared_ptr<UIImage> image, UIControlState state);
  // The image of exactly `state`, else the normal state's, as UIKit falls back.
  std::shared_ptr<UIImage> backgroundImageForState(UIControlState state) const;
  void setImage(std::shared_ptr<UIImage> image, UIControlState state);
  std::shared_ptr<UIImage> imageForState(UIControlState state) const;
  // The background image shown in the button's present state.
  std::shared_ptr<UIImage> currentBackgroundImage() const {
    return backgroundImageForState(state());
  }

 private:
  std::map<UIControlState, std::shared_ptr<UIImage>> backgroundImages_;
  std::map<UIControlState, std::shared_ptr<UIImage>> images_;
};

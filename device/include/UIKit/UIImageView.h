// UIKit's image view on the device, showing its image in the native image view. It takes no
// touches until user interaction is enabled.
#pragma once

#include <memory>
#include <string>

#include "UIKit/UIView.h"

class UIImage;

class UIImageView : public UIView {
 public:
  UIImageView() : UIImageView(CGRectZero) {}
  explicit UIImageView(const CGRect& frame);
  static std::shared_ptr<UIImageView> initWithFrame(const CGRect& frame);
  std::string className() const override { return "UIImageView"; }

  const std::shared_ptr<UIImage>& image() const { return image_; }
  void setImage(std::shared_ptr<UIImage> image);

 private:
  std::shared_ptr<UIImage> image_;
};

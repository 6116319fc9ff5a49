#include "UIKit/UIImageView.h"

#include "UIKit/UIImage.h"

UIImageView::UIImageView(const CGRect& frame) : UIView(frame) {
  setUserInteractionEnabled(false);
}

std::shared_ptr<UIImageView> UIImageView::initWithFrame(const CGRect& frame) {
  return std::make_shared<UIImageView>(frame);
}

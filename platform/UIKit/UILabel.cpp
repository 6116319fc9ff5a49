#include "UIKit/UILabel.h"

namespace {
constexpr double kDefaultFontSizePoints = 17;
}

UILabel::UILabel(const CGRect& frame)
    : UIView(frame), font_(UIFont::systemFontOfSize(kDefaultFontSizePoints)) {
  setUserInteractionEnabled(false);
}

std::shared_ptr<UILabel> UILabel::initWithFrame(const CGRect& frame) {
  return std::make_shared<UILabel>(frame);
}

void UILabel::setFont(std::shared_ptr<UIFont> font) {
  font_ = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSizePoints);
}

// UILabel on the native label (native/UIKit/NativeLabel.h).
#include "UIKit/UILabel.h"

#include "face/UIKit/UIKitAccess.h"
#include "native/UIKit/NativeLabel.h"

namespace nl = gw::native::label;

namespace {
constexpr double kDefaultFontSizePoints = 17;
}

// A native label starts with the same values (system font at 17 points, black, natural
// alignment, one line) and takes no touches, as the face's does.
UILabel::UILabel(const CGRect& frame)
    : UIView(frame), font_(UIFont::systemFontOfSize(kDefaultFontSizePoints)) {}

std::shared_ptr<UILabel> UILabel::initWithFrame(const CGRect& frame) {
  return std::make_shared<UILabel>(frame);
}

void UILabel::setText(std::string text) {
  nl::setText(gw::uikit::Access::nativeView(*this), text);
  text_ = std::move(text);
}

void UILabel::setFont(std::shared_ptr<UIFont> font) {
  font_ = font ? std::move(font) : UIFont::systemFontOfSize(kDefaultFontSizePoints);
  nl::setFont(gw::uikit::Access::nativeView(*this), font_->fontName(), font_->pointSize());
}

void UILabel::setTextColor(const UIColor& color) {
  nl::setTextColor(gw::uikit::Access::nativeView(*this),
                   {color.red(), color.green(), color.blue(), color.alpha()});
  textColor_ = color;
}

void UILabel::setTextAlignment(NSTextAlignment alignment) {
  nl::setTextAlignment(gw::uikit::Access::nativeView(*this), alignment);
  textAlignment_ = alignment;
}

void UILabel::setNumberOfLines(std::int64_t lines) {
  nl::setNumberOfLines(gw::uikit::Access::nativeView(*this), lines);
  numberOfLines_ = lines;
}

// UIKit's text label on the device: the values are kept here and shown by the native label. It
// takes no touches until user interaction is enabled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "UIKit/UIFont.h"
#include "UIKit/UIView.h"

enum NSTextAlignment : std::int64_t {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentCenter = 1,
  NSTextAlignmentRight = 2,
  NSTextAlignmentJustified = 3,
  NSTextAlignmentNatural = 4,
};

class UILabel : public UIView {
 public:
  UILabel() : UILabel(CGRectZero) {}
  explicit UILabel(const CGRect& frame);
  static std::shared_ptr<UILabel> initWithFrame(const CGRect& frame);
  std::string className() const override { return "UILabel"; }

  const std::string& text() const { return text_; }
  void setText(std::string text);
  // The system font at 17 points until set; setting null restores it. A font the device does
  // not have shows as the system font of its size.
  const std::shared_ptr<UIFont>& font() const { return font_; }
  void setFont(std::shared_ptr<UIFont> font);
  // Black until set.
  const UIColor& textColor() const { return textColor_; }
  void setTextColor(const UIColor& color);
  NSTextAlignment textAlignment() const { return textAlignment_; }
  void setTextAlignment(NSTextAlignment alignment);
  // 1 until set; 0 means as many lines as the text needs.
  std::int64_t numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(std::int64_t lines);

 private:
  std::string text_;
  std::shared_ptr<UIFont> font_;
  UIColor textColor_ = UIColor::blackColor();
  NSTextAlignment textAlignment_ = NSTextAlignmentNatural;
  std::int64_t numberOfLines_ = 1;
};

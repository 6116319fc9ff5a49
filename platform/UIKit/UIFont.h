// UIKit's font: a face name and a size in points. The device's font catalogue is not
// modelled; any non-empty name makes a font.
#pragma once

#include <memory>
#include <string>

class UIFont {
 public:
  UIFont(std::string fontName, double pointSize)
      : fontName_(std::move(fontName)), pointSize_(pointSize) {}

  // fontWithName:size: — null for an empty name or a size that is not positive.
  static std::shared_ptr<UIFont> fontWithName(std::string fontName, double pointSize);
  static std::shared_ptr<UIFont> systemFontOfSize(double pointSize);

  const std::string& fontName() const { return fontName_; }
  double pointSize() const { return pointSize_; }

 private:
  std::string fontName_;
  double pointSize_;
};

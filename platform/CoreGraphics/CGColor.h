// A CoreGraphics colour in the device's extended sRGB space: red, green, blue and alpha, each
// a double in 0..1. A value type, so that it can travel inside property-list style
// dictionaries (Foundation::Value) and sit on a layer without either knowing UIKit.
#pragma once

#include <string>

class CGColor {
 public:
  constexpr CGColor() = default;
  constexpr CGColor(double red, double green, double blue, double alpha)
      : red_(red), green_(green), blue_(blue), alpha_(alpha) {}

  double red() const { return red_; }
  double green() const { return green_; }
  double blue() const { return blue_; }
  double alpha() const { return alpha_; }

  // "UIExtendedSRGBColorSpace r g b a", as the device describes a colour.
  std::string description() const;

  friend bool operator==(const CGColor&, const CGColor&) = default;

 private:
  double red_ = 0, green_ = 0, blue_ = 0, alpha_ = 0;
};

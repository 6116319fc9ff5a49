// UIKit colour: red, green, blue and alpha, each a double in 0..1. A value type, so that it
// can travel inside property-list style dictionaries (Foundation::Value).
#pragma once

#include <string>

class UIColor {
 public:
  UIColor() = default;
  static UIColor colorWithRed(double red, double green, double blue, double alpha) {
    return UIColor(red, green, blue, alpha);
  }
  static UIColor whiteColor() { return UIColor(1, 1, 1, 1); }
  static UIColor blackColor() { return UIColor(0, 0, 0, 1); }
  static UIColor clearColor() { return UIColor(0, 0, 0, 0); }

  double red() const { return red_; }
  double green() const { return green_; }
  double blue() const { return blue_; }
  double alpha() const { return alpha_; }

  // The CoreGraphics colour a layer takes (CGColor): the same four components.
  UIColor CGColor() const { return *this; }

  // "UIExtendedSRGBColorSpace r g b a", as the device describes a colour.
  std::string description() const;

  friend bool operator==(const UIColor&, const UIColor&) = default;

 private:
  UIColor(double r, double g, double b, double a) : red_(r), green_(g), blue_(b), alpha_(a) {}
  double red_ = 0, green_ = 0, blue_ = 0, alpha_ = 0;
};

// UIKit colour: the CoreGraphics colour (red, green, blue and alpha, each a double in 0..1)
// with UIKit's named colours. A UIColor is usable wherever a CGColor is taken (a layer's
// border, a boxed Foundation::Value), and a CGColor read back turns into a UIColor again.
#pragma once

#include "CoreGraphics/CGColor.h"

class UIColor : public ::CGColor {
 public:
  UIColor() = default;
  UIColor(const ::CGColor& color) : ::CGColor(color) {}  // NOLINT: implicit by design
  static UIColor colorWithRed(double red, double green, double blue, double alpha) {
    return UIColor(::CGColor(red, green, blue, alpha));
  }
  static UIColor whiteColor() { return colorWithRed(1, 1, 1, 1); }
  static UIColor blackColor() { return colorWithRed(0, 0, 0, 1); }
  static UIColor clearColor() { return colorWithRed(0, 0, 0, 0); }

  // The CoreGraphics colour a layer takes: the same four components.
  ::CGColor CGColor() const { return *this; }
};

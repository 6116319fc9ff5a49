// The device's screen (UIScreen mainScreen), asked anew on every call.
#pragma once

#include "CoreGraphics/CGGeometry.h"

class UIScreen {
 public:
  UIScreen() = default;
  UIScreen(const UIScreen&) = delete;
  UIScreen& operator=(const UIScreen&) = delete;

  static UIScreen& mainScreen();

  // (0, 0, width, height) in points, for the portrait interface.
  CGRect bounds() const;
  // Pixels per point.
  CGFloat scale() const;
};

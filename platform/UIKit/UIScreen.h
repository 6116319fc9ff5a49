// The device's screen (UIScreen mainScreen). Every process of a device sees the same screen,
// and a change of its size is seen at once by the next bounds() call. The simulated screen
// behind it, which sizes the screen and keeps the windows shown on it, is UIScreenHardware.
#pragma once

#include "CoreGraphics/CGGeometry.h"

class UIScreen {
 public:
  static constexpr CGFloat kDefaultWidthPoints = 375;
  static constexpr CGFloat kDefaultHeightPoints = 667;

  UIScreen(const UIScreen&) = delete;
  UIScreen& operator=(const UIScreen&) = delete;

  // The screen of the current process's device.
  static UIScreen& mainScreen();

  // (0, 0, width, height) in points, for the portrait interface.
  CGRect bounds() const { return CGRectMake(0, 0, size_.width, size_.height); }
  // Pixels per point.
  CGFloat scale() const { return scale_; }

 protected:
  UIScreen() = default;
  ~UIScreen() = default;

  CGSize size_{kDefaultWidthPoints, kDefaultHeightPoints};
  CGFloat scale_ = 2;
};

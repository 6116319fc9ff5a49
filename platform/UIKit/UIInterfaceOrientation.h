// Interface orientations and their masks, with UIKit's values. An interface orientation names
// where the top of the app's content is: "landscape left" has the content's top at the left
// edge of the device held in portrait, i.e. the device was turned so that its right edge
// points down (gravity along the device's +x axis).
#pragma once

enum UIInterfaceOrientation : long long {
  UIInterfaceOrientationUnknown = 0,
  UIInterfaceOrientationPortrait = 1,
  UIInterfaceOrientationPortraitUpsideDown = 2,
  UIInterfaceOrientationLandscapeRight = 3,
  UIInterfaceOrientationLandscapeLeft = 4,
};

enum UIInterfaceOrientationMask : unsigned {
  UIInterfaceOrientationMaskPortrait = 1u << UIInterfaceOrientationPortrait,
  UIInterfaceOrientationMaskPortraitUpsideDown = 1u << UIInterfaceOrientationPortraitUpsideDown,
  UIInterfaceOrientationMaskLandscapeRight = 1u << UIInterfaceOrientationLandscapeRight,
  UIInterfaceOrientationMaskLandscapeLeft = 1u << UIInterfaceOrientationLandscapeLeft,
  UIInterfaceOrientationMaskLandscape =
      UIInterfaceOrientationMaskLandscapeLeft | UIInterfaceOrientationMaskLandscapeRight,
  UIInterfaceOrientationMaskAll = UIInterfaceOrientationMaskPortrait |
                                  UIInterfaceOrientationMaskLandscape |
                                  UIInterfaceOrientationMaskPortraitUpsideDown,
  UIInterfaceOrientationMaskAllButUpsideDown =
      UIInterfaceOrientationMaskPortrait | UIInterfaceOrientationMaskLandscape,
};

inline bool UIInterfaceOrientationMaskContains(unsigned mask, long long orientation) {
  return orientation >= UIInterfaceOrientationPortrait &&
         orientation <= UIInterfaceOrientationLandscapeLeft && (mask & (1u << orientation)) != 0;
}

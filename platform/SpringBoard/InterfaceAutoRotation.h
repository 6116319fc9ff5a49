// The home screen's own rule for turning the front-most app with the device while the
// orientation lock is off. It is deliberately unrelated to the tweak library's classifier: the
// home screen works from gravity, the tweak from roll and pitch thresholds.
//
// Gravity in the device frame, in g, from the attitude (see CoreMotion/CMAttitude.h):
//   g = (sin roll · cos pitch, −sin pitch, −cos roll · cos pitch)
// Only the screen-plane part (gx, gy) matters. Each interface orientation has a "down"
// direction in that plane, the edge of the device that points to the ground:
//   1 portrait             (0, −1)   home edge down
//   2 portrait upside down (0, +1)
//   3 landscape right      (−1, 0)   left edge down
//   4 landscape left       (+1, 0)   right edge down
// and its score is the component of (gx, gy) along that direction.
//
// Rule, evaluated on every change of attitude:
//  1. Device near flat (|(gx, gy)| < kFlatInPlaneGravityG, within 30° of face up or down):
//     keep the current orientation.
//  2. Among the orientations the app supports, take the best-scoring one (ties keep the
//     current one, then the order 1, 4, 3, 2).
//  3. Turn to it only if its score is at least kMinimumDownGravityG and beats the current
//     orientation's score by more than kHysteresisMarginG; otherwise keep. This margin is the
//     hysteresis: held halfway between two orientations the app keeps the one it has, and
//     only about 10° past the diagonal does it turn.
// An unknown or unsupported current orientation scores −1, so the first clear reading fixes it.
#pragma once

#include "CoreMotion/CMAttitude.h"

class InterfaceAutoRotation {
 public:
  static constexpr double kFlatInPlaneGravityG = 0.5;
  static constexpr double kMinimumDownGravityG = 0.5;
  static constexpr double kHysteresisMarginG = 0.25;

  // The interface orientation (1-4) the app should have after `attitude`; `current` when it
  // should stay. `supportedMask` is a UIInterfaceOrientationMask.
  static long long nextOrientation(long long current, const CMAttitude& attitude,
                                   unsigned supportedMask);
  // The score of `orientation` for the in-plane gravity (gx, gy); −1 for an unknown one.
  static double score(long long orientation, double gx, double gy);
};

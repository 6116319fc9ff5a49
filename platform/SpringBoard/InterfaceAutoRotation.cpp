#include "SpringBoard/InterfaceAutoRotation.h"

#include <cmath>

#include "UIKit/UIInterfaceOrientation.h"

double InterfaceAutoRotation::score(long long orientation, double gx, double gy) {
  switch (orientation) {
    case UIInterfaceOrientationPortrait:
      return -gy;
    case UIInterfaceOrientationPortraitUpsideDown:
      return gy;
    case UIInterfaceOrientationLandscapeRight:
      return -gx;
    case UIInterfaceOrientationLandscapeLeft:
      return gx;
    default:
      return -1;
  }
}

long long InterfaceAutoRotation::nextOrientation(long long current, const CMAttitude& attitude,
                                                 unsigned supportedMask) {
  const double roll = attitude.roll();
  const double pitch = attitude.pitch();
  if (!std::isfinite(roll) || !std::isfinite(pitch)) return current;
  const double gx = std::sin(roll) * std::cos(pitch);
  const double gy = -std::sin(pitch);
  if (std::hypot(gx, gy) < kFlatInPlaneGravityG) return current;

  const double currentScore =
      UIInterfaceOrientationMaskContains(supportedMask, current) ? score(current, gx, gy) : -1;
  long long best = current;
  double bestScore = currentScore;
  constexpr long long kPreferenceOrder[] = {
      UIInterfaceOrientationPortrait, UIInterfaceOrientationLandscapeLeft,
      UIInterfaceOrientationLandscapeRight, UIInterfaceOrientationPortraitUpsideDown};
  for (long long candidate : kPreferenceOrder) {
    if (!UIInterfaceOrientationMaskContains(supportedMask, candidate)) continue;
    const double candidateScore = score(candidate, gx, gy);
    if (candidateScore > bestScore) {
      best = candidate;
      bestScore = candidateScore;
    }
  }
  if (best == current || bestScore < kMinimumDownGravityG ||
      bestScore - currentScore <= kHysteresisMarginG) {
    return current;
  }
  return best;
}

#include "VXCommon/VXOrientationClassifier.h"

#include <cmath>

std::uint64_t VXOrientationClassifier::classify(double rollRadians, double pitchRadians) {
  if (!std::isfinite(rollRadians) || !std::isfinite(pitchRadians)) return kNone;
  if (std::fabs(rollRadians) > kLandscapeMinAbsRollRadians &&
      std::fabs(rollRadians) < kLandscapeMaxAbsRollRadians && std::round(pitchRadians) == 0.0) {
    return kLandscape;
  }
  if (std::fabs(std::round(rollRadians)) != 1.0 && std::round(pitchRadians) != 0.0) {
    return kPortrait;
  }
  return kNone;
}

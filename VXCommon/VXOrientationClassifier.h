// The fixed roll/pitch thresholds that turn one attitude sample into an orientation class.
//
//   0.7 < |roll| < 1.6 and |pitch| < 0.5                  landscape (2)
//   (|roll| < 0.5 or |roll| >= 1.5) and |pitch| >= 0.5    portrait (1)
//   anything else                                          none (0): the last state is kept
//
// Written as the device code tests it: landscape is |roll| > 0.7, |roll| < 1.6 and
// round(pitch) == 0; portrait is |round(roll)| != 1 and round(pitch) != 0, where round
// rounds half away from zero (so pitch ±0.5 is not "0" and roll ±1.5 rounds to ±2). A sample
// that is not a number (or infinite) is no reading at all and classifies as none, rather than
// slipping through the "!= 0" comparisons as portrait.
#pragma once

#include <cstdint>

class VXOrientationClassifier {
 public:
  static constexpr std::uint64_t kNone = 0;
  static constexpr std::uint64_t kPortrait = 1;
  static constexpr std::uint64_t kLandscape = 2;

  static constexpr double kLandscapeMinAbsRollRadians = 0.7;  // exclusive
  static constexpr double kLandscapeMaxAbsRollRadians = 1.6;  // exclusive

  // `rollRadians`, `pitchRadians`: CoreMotion attitude. Pure; allocates nothing.
  static std::uint64_t classify(double rollRadians, double pitchRadians);
};

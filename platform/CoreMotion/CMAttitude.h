// A device attitude sample (CoreMotion's CMAttitude): roll and pitch in radians.
//
// Conventions of the device frame (x to the right of the screen, y to its top, z out of it):
// roll turns about y, pitch about x. Held upright in portrait, pitch is +π/2; lying face up,
// both are 0; rolled onto its left edge (right edge up), roll is −π/2. The gravity vector in
// the device frame is (sin roll · cos pitch, −sin pitch, −cos roll · cos pitch), in g.
#pragma once

enum CMAttitudeReferenceFrame : unsigned {
  CMAttitudeReferenceFrameXArbitraryZVertical = 1,
  CMAttitudeReferenceFrameXArbitraryCorrectedZVertical = 2,
  CMAttitudeReferenceFrameXMagneticNorthZVertical = 4,
  CMAttitudeReferenceFrameXTrueNorthZVertical = 8,
};

class CMAttitude {
 public:
  CMAttitude() = default;
  CMAttitude(double rollRadians, double pitchRadians) : roll_(rollRadians), pitch_(pitchRadians) {}
  double roll() const { return roll_; }
  double pitch() const { return pitch_; }

 private:
  double roll_ = 0;
  double pitch_ = 0;
};

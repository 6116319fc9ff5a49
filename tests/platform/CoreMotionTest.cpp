#include <gtest/gtest.h>

#include "CoreMotion/CMMotionManager.h"
#include "CoreMotion/MotionHardware.h"
#include "support/ScopedTestDevice.h"

namespace {

TEST(CMMotionManagerTest, GivesTheLatestAttitudeOnlyWhileUpdatesRun) {
  ScopedTestDevice device;
  auto& hardware = MotionHardware::of(device.device());
  CMMotionManager manager;
  EXPECT_TRUE(manager.isGyroAvailable());
  EXPECT_TRUE(manager.isDeviceMotionAvailable());
  hardware.setAttitude(0.2, 1.1);
  EXPECT_EQ(manager.deviceMotion(), nullptr) << "nothing before updates start";

  manager.startDeviceMotionUpdatesUsingReferenceFrame(
      CMAttitudeReferenceFrameXMagneticNorthZVertical);
  EXPECT_EQ(manager.attitudeReferenceFrame(), CMAttitudeReferenceFrameXMagneticNorthZVertical);
  const CMDeviceMotion* motion = manager.deviceMotion();
  ASSERT_NE(motion, nullptr);
  EXPECT_EQ(motion->attitude().roll(), 0.2);
  EXPECT_EQ(motion->attitude().pitch(), 1.1);

  device.runFor(1.5);
  hardware.setAttitude(-1.4, 0.05);
  motion = manager.deviceMotion();
  ASSERT_NE(motion, nullptr);
  EXPECT_EQ(motion->attitude().roll(), -1.4);
  EXPECT_EQ(motion->attitude().pitch(), 0.05);
  EXPECT_EQ(motion->timestamp(), 1.5);

  hardware.setDeviceMotionAvailable(false);
  EXPECT_EQ(manager.deviceMotion(), nullptr);
  manager.stopDeviceMotionUpdates();
  hardware.setDeviceMotionAvailable(true);
  EXPECT_EQ(manager.deviceMotion(), nullptr);
}

TEST(CMMotionManagerTest, UnavailableDeviceMotionNeverStarts) {
  ScopedTestDevice device;
  auto& hardware = MotionHardware::of(device.device());
  hardware.setGyroAvailable(false);
  hardware.setDeviceMotionAvailable(false);
  CMMotionManager manager;
  EXPECT_FALSE(manager.isGyroAvailable());
  manager.startDeviceMotionUpdatesUsingReferenceFrame(
      CMAttitudeReferenceFrameXMagneticNorthZVertical);
  EXPECT_FALSE(manager.isDeviceMotionActive());
  hardware.setDeviceMotionAvailable(true);  // appearing later does not start it
  EXPECT_EQ(manager.deviceMotion(), nullptr);
}

}  // namespace

#include "VXCommon/VXMotionHelper.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "ObjCRuntime/ObjCClassRegistry.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SBOrientationLockManager.h"
#include "VXCommon/VXLogger.h"
#include "support/AllocationCounter.h"
#include "support/ScopedTestDevice.h"

namespace {

constexpr double kLandscapeRoll = 1.5, kLandscapePitch = 0.0;
constexpr double kPortraitRoll = 0.0, kPortraitPitch = 1.4;

// Records each report with the helper's currOrientation at the moment of the call.
class RecordingDelegate : public VXMotionDelegate {
 public:
  struct Report {
    std::uint64_t orientation;
    std::uint64_t currOrientationDuringCall;
    friend bool operator==(const Report&, const Report&) = default;
  };
  RecordingDelegate() { reports.reserve(64); }
  void orientationChanged(std::uint64_t orientation) override {
    auto observed = helper.lock();
    reports.push_back({orientation, observed ? observed->currOrientation() : 99});
  }
  std::weak_ptr<VXMotionHelper> helper;
  std::vector<Report> reports;
};

std::vector<std::uint64_t> orientations(const RecordingDelegate& delegate) {
  std::vector<std::uint64_t> out;
  for (const auto& report : delegate.reports) out.push_back(report.orientation);
  return out;
}

class VXMotionHelperTest : public ::testing::Test {
 protected:
  MotionHardware& hardware() { return MotionHardware::of(device.device()); }
  void tilt(double roll, double pitch) { hardware().setAttitude(roll, pitch); }
  // Runs exactly one more sampling tick (ticks fall at k × 0.30000001192092896 s).
  void nextTick() { device.runFor(VXMotionHelper::kSamplingIntervalSeconds); }

  std::shared_ptr<VXMotionHelper> makeHelper(const std::shared_ptr<RecordingDelegate>& delegate) {
    auto helper = VXMotionHelper::initWithDelegate(delegate);
    if (delegate) delegate->helper = helper;
    return helper;
  }

  ScopedTestDevice device;  // the home-screen process, current
};

TEST_F(VXMotionHelperTest, SamplesOnARepeatingTimerOfThreeTenthsOfASecond) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(delegate);
  EXPECT_EQ(helper->timer(), nullptr) << "creating the helper starts nothing";
  tilt(kLandscapeRoll, kLandscapePitch);
  device.runFor(5);
  EXPECT_TRUE(delegate->reports.empty());

  helper->run();
  ASSERT_NE(helper->timer(), nullptr);
  EXPECT_EQ(helper->timer()->timeInterval(), 0.30000001192092896);
  EXPECT_TRUE(helper->timer()->repeats());
  // 0.3 s is still short of the single-precision interval: no tick yet.
  device.runFor(0.3);
  EXPECT_TRUE(delegate->reports.empty());
  device.runFor(0.0000001);
  EXPECT_EQ(orientations(*delegate), std::vector<std::uint64_t>{2});
}

TEST_F(VXMotionHelperTest, ReportsEachChangeOnceWithTheOldStateStillStored) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(delegate);
  helper->run();

  nextTick();  // flat: no class
  EXPECT_TRUE(delegate->reports.empty());
  EXPECT_EQ(helper->currOrientation(), 0u);

  tilt(kLandscapeRoll, kLandscapePitch);
  nextTick();
  nextTick();      // the same class again: no second report
  tilt(1.0, 1.0);  // between the classes: the state is kept
  nextTick();
  tilt(kPortraitRoll, kPortraitPitch);
  nextTick();
  tilt(-kLandscapeRoll, kLandscapePitch);
  nextTick();

  const std::vector<RecordingDelegate::Report> expected = {{2, 0}, {1, 2}, {2, 1}};
  EXPECT_EQ(delegate->reports, expected);
  EXPECT_EQ(helper->currOrientation(), 2u);
}

TEST_F(VXMotionHelperTest, AbsentDelegateStoresNothingAndTheFirstPresentOneHearsTheCurrentClass) {
  auto gone = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(gone);
  gone.reset();  // the delegate went away
  EXPECT_EQ(helper->motionDelegate(), nullptr);
  helper->run();

  tilt(kLandscapeRoll, kLandscapePitch);
  nextTick();
  tilt(kPortraitRoll, kPortraitPitch);
  nextTick();
  EXPECT_EQ(helper->currOrientation(), 0u) << "a change with no delegate is not stored";

  auto present = std::make_shared<RecordingDelegate>();
  present->helper = helper;
  helper->setMotionDelegate(present);
  nextTick();
  const std::vector<RecordingDelegate::Report> expected = {{1, 0}};
  EXPECT_EQ(present->reports, expected);
  EXPECT_EQ(helper->currOrientation(), 1u);
}

TEST_F(VXMotionHelperTest, WithoutDeviceMotionNothingIsEverReported) {
  hardware().setDeviceMotionAvailable(false);
  auto delegate = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(delegate);
  helper->run();
  ASSERT_NE(helper->timer(), nullptr) << "the timer runs whether or not motion is available";
  EXPECT_FALSE(helper->mManager()->isDeviceMotionActive());

  for (auto [roll, pitch] :
       {std::pair{kLandscapeRoll, kLandscapePitch}, std::pair{kPortraitRoll, kPortraitPitch}}) {
    tilt(roll, pitch);
    device.runFor(3);
  }
  EXPECT_TRUE(delegate->reports.empty());
  EXPECT_EQ(helper->currOrientation(), 0u);
}

TEST_F(VXMotionHelperTest, ReleasingTheHelperStopsItsTimer) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(delegate);
  helper->run();
  std::shared_ptr<NSTimer> timer = helper->timer();
  helper.reset();
  EXPECT_FALSE(timer->isValid());
  tilt(kLandscapeRoll, kLandscapePitch);
  device.runFor(2);
  EXPECT_TRUE(delegate->reports.empty());
}

TEST_F(VXMotionHelperTest, ATickAllocatesNothing) {
  auto delegate = std::make_shared<RecordingDelegate>();
  auto helper = makeHelper(delegate);
  helper->run();
  NSTimer& timer = *helper->timer();

  for (auto [roll, pitch] :
       {std::pair{0.0, 0.0}, std::pair{kLandscapeRoll, kLandscapePitch},
        std::pair{kLandscapeRoll, kLandscapePitch}, std::pair{kPortraitRoll, kPortraitPitch}}) {
    tilt(roll, pitch);
    AllocationCounter counter;
    helper->tick(timer);
    EXPECT_EQ(counter.count(), 0u) << "roll " << roll << ", pitch " << pitch;
  }
  EXPECT_EQ(orientations(*delegate), (std::vector<std::uint64_t>{2, 1}));
}

// ---- orientation lock ------------------------------------------------------------------------

class LockEvents {
 public:
  explicit LockEvents(Device& device) : device_(device) {
    token_ = device.subscribe([this](const DeviceEvent& event) {
      if (event.name != "lock") return;
      const EventValue* by = event.fields.find("by");
      const std::string* actor = by ? by->stringValue() : nullptr;
      events.emplace_back(event.fields.value("on").boolValue(), actor ? *actor : "");
    });
  }
  ~LockEvents() { device_.unsubscribe(token_); }
  std::vector<std::pair<bool, std::string>> events;

 private:
  Device& device_;
  int token_;
};

TEST_F(VXMotionHelperTest, LockOperationsGoThroughTheHomeScreensLockManager) {
  LockEvents lock(device.device());
  auto helper = VXMotionHelper::initWithDelegate({});
  EXPECT_FALSE(helper->isDeviceOrientationLocked());

  HomeScreenState::of(device.device()).setOrientationLocked(true, OrientationLockActor::User);
  EXPECT_TRUE(helper->isDeviceOrientationLocked());
  helper->unlockDeviceOrientation();
  EXPECT_FALSE(helper->isDeviceOrientationLocked());
  helper->unlockDeviceOrientation();  // already off: no change, no event
  helper->lockDeviceOrientation();
  EXPECT_TRUE(helper->isDeviceOrientationLocked());

  const std::vector<std::pair<bool, std::string>> expected = {
      {true, "user"}, {false, "tweak"}, {true, "tweak"}};
  EXPECT_EQ(lock.events, expected);
}

TEST(VXMotionHelperLockSlotTest, AbsentClassReadsOffAndIsLookedUpAgainLater) {
  ScopedTestDevice device("Preferences");  // a process without the home screen's classes
  LockEvents lock(device.device());
  auto& homeScreen = HomeScreenState::of(device.device());
  homeScreen.setOrientationLocked(true, OrientationLockActor::User);

  auto helper = VXMotionHelper::initWithDelegate({});
  EXPECT_FALSE(helper->isDeviceOrientationLocked()) << "no class: the lock reads as off";
  helper->unlockDeviceOrientation();
  EXPECT_TRUE(homeScreen.isOrientationLocked()) << "no class: unlock does nothing";

  // The class appears later in the process: the empty slot makes the next call look again.
  ObjCClassRegistry::current().registerClass(SBOrientationLockManager::kClassName);
  EXPECT_TRUE(helper->isDeviceOrientationLocked());
  helper->unlockDeviceOrientation();
  EXPECT_FALSE(homeScreen.isOrientationLocked());

  const std::vector<std::pair<bool, std::string>> expected = {{true, "user"}, {false, "tweak"}};
  EXPECT_EQ(lock.events, expected);
}

// ---- log lines -------------------------------------------------------------------------------

class VXMotionHelperLogTest : public VXMotionHelperTest {
 protected:
  void SetUp() override {
    VXLogger::setSinkForTesting([this](std::string_view line) { lines.emplace_back(line); });
  }
  void TearDown() override { VXLogger::setSinkForTesting({}); }
  std::vector<std::string> lines;
};

TEST_F(VXMotionHelperLogTest, WritesItsLinesAsTheSensorsAllow) {
  const std::string kInit =
      "<VX> VXMotionHelper.cpp:26 -[VXMotionHelper initWithDelegate:] VXMotionHelper initialized";
  const std::string kGyro =
      "<VX> VXMotionHelper.cpp:62 -[VXMotionHelper startCoreMotion] gyro is available";
  const std::string kMotion =
      "<VX> VXMotionHelper.cpp:67 -[VXMotionHelper startCoreMotion] motion is available";
  struct Case {
    bool gyro;
    bool motion;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {true, true, {kInit, kGyro, kMotion}},
      {false, true, {kInit, kMotion}},
      {true, false, {kInit, kGyro}},
      {false, false, {kInit}},
  };
  for (const Case& c : cases) {
    lines.clear();
    hardware().setGyroAvailable(c.gyro);
    hardware().setDeviceMotionAvailable(c.motion);
    auto helper = VXMotionHelper::initWithDelegate({});
    EXPECT_EQ(lines, std::vector<std::string>{kInit}) << "initialising logs, starts nothing";
    helper->run();
    EXPECT_EQ(lines, c.expected) << "gyro " << c.gyro << ", motion " << c.motion;
    EXPECT_EQ(helper->mManager()->isDeviceMotionActive(), c.motion);
  }
}

}  // namespace

// The library loaded into the home-screen process the way the device loads it: its start-up
// initialisers run (this test binary links the library, so they are already declared), then
// the home screen finishes launching.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CoreFoundation/CFNotificationCenter.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "VXCommon/VXLogger.h"
#include "VXCommon/VXPrefsLoader.h"
#include "VXCommon/VXTweakManager.h"
#include "support/ScopedTestDevice.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Value;
using prefs_test::countContaining;

constexpr const char* kHookLine =
    "<VX> Tweak.cpp:9 _logos_method$_ungrouped$SpringBoard$applicationDidFinishLaunching$ "
    "initializing rotation tweak after respring...";

class StartupTest : public ::testing::Test {
 protected:
  StartupTest() { captureLog(); }
  ~StartupTest() override { VXLogger::setSinkForTesting({}); }

  // The sink belongs to the process it is set in, so a restarted process needs it again. Each
  // line is stored with whether the home screen had finished its own launch by then.
  void captureLog() {
    VXLogger::setSinkForTesting([this](std::string_view line) {
      auto app =
          std::dynamic_pointer_cast<SimulatedSpringBoard>(UIApplication::sharedApplication());
      lines.emplace_back(line);
      launchedAtLine.push_back(app && app->hasFinishedLaunching());
    });
  }
  std::size_t indexOf(std::string_view text) const {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].find(text) != std::string::npos) return i;
    }
    return lines.size();
  }

  ScopedTestDevice device;
  std::vector<std::string> lines;
  std::vector<bool> launchedAtLine;
};

TEST_F(StartupTest, ManagerStartsOnlyAfterTheHomeScreenHasLaunched) {
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pSliderDisappearInterval", Value::real(0.5)}}));
  ASSERT_TRUE(device.process().loadLibrary("Gyrowhirl"));
  EXPECT_EQ(countContaining(lines, "VXPrefsLoader initialized"), 1u);
  EXPECT_EQ(countContaining(lines, "VXTweakManager initialized"), 0u);
  EXPECT_EQ(countContaining(lines, "VXMotionHelper"), 0u);

  ASSERT_TRUE(SimulatedSpringBoard::finishLaunching());
  const std::size_t hook = indexOf(kHookLine);
  ASSERT_LT(hook, lines.size());
  EXPECT_TRUE(launchedAtLine[hook]) << "the home screen's own launch work runs first";
  EXPECT_EQ(indexOf("VXTweakManager initialized"), hook + 1);
  EXPECT_EQ(countContaining(lines, kHookLine), 1u);
  EXPECT_EQ(countContaining(lines, "gyro is available"), 1u) << "run() started the sampling";

  // The delayed first broadcast reaches the manager that launch completion created.
  std::shared_ptr<VXTweakManager> manager = VXTweakManager::sharedInstance();
  EXPECT_EQ(countContaining(lines, "VXTweakManager initialized"), 1u);
  EXPECT_EQ(manager->fabDisappearInterval(), 3.0);
  device.runFor(2.0);
  EXPECT_EQ(manager->fabDisappearInterval(), 0.5);

  // A settings change is read again and posted at once.
  ASSERT_TRUE(prefs_test::writePrefsFile({{"pSliderDisappearInterval", Value::real(4.0)}}));
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       VXPrefsLoader::kSettingsChangedNotification, nullptr,
                                       nullptr, true);
  device.runFor(0.0);
  EXPECT_EQ(manager->fabDisappearInterval(), 4.0);
  EXPECT_EQ(countContaining(lines, "prefs posted (update)"), 1u);
}

TEST_F(StartupTest, RespringStartsFromScratch) {
  ASSERT_TRUE(device.process().loadLibrary("Gyrowhirl"));
  ASSERT_TRUE(device.process().loadLibrary("Gyrowhirl"));  // once per process, as dlopen
  ASSERT_TRUE(SimulatedSpringBoard::finishLaunching());
  device.runFor(2.0);
  EXPECT_EQ(countContaining(lines, "VXPrefsLoader initialized"), 1u);
  // A suggestion on screen at the respring: its callback holds the manager, which must still go
  // with its process.
  HomeScreenState& home = HomeScreenState::of(device.device());
  home.installApplication("com.example.reader");
  home.setFrontApplication("com.example.reader");
  home.setOrientationLocked(true, OrientationLockActor::User);
  std::weak_ptr<VXTweakManager> before = VXTweakManager::sharedInstance();
  before.lock()->orientationChanged(2);
  ASSERT_TRUE(before.lock()->alertHelper()->isDisplayingAlert());

  device.restart();
  EXPECT_TRUE(before.expired());
  lines.clear();
  captureLog();
  ASSERT_TRUE(device.process().loadLibrary("Gyrowhirl"));
  EXPECT_EQ(countContaining(lines, "VXPrefsLoader initialized"), 1u);
  ASSERT_TRUE(SimulatedSpringBoard::finishLaunching());
  EXPECT_EQ(countContaining(lines, kHookLine), 1u) << "hooked once in the fresh process";
  EXPECT_EQ(countContaining(lines, "VXTweakManager initialized"), 1u);
  EXPECT_EQ(VXTweakManager::sharedInstance()->fabDisappearInterval(), 3.0);
  device.runFor(1.9);
  EXPECT_EQ(countContaining(lines, "prefs posted"), 0u) << "the first post waits again";
  device.runFor(0.1);
  EXPECT_EQ(countContaining(lines, "prefs posted (respring)"), 1u);
  EXPECT_EQ(VXTweakManager::sharedInstance()->fabDisappearInterval(), 2.0);

  // One save listener in the fresh process.
  NSNotificationCenter::defaultCenter().postNotificationName(VXPrefsLoader::kPanEndNotification,
                                                             Value::point({1, 2}));
  EXPECT_EQ(countContaining(lines, "prefs saved..."), 1u);
}

}  // namespace

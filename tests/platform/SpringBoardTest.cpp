#include "SpringBoard/SimulatedSpringBoard.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <regex>
#include <string>
#include <vector>

#include "CoreMotion/MotionHardware.h"
#include "CydiaSubstrate/CydiaSubstrate.h"
#include "Foundation/NSBundle.h"
#include "ObjCRuntime/runtime.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/InterfaceAutoRotation.h"
#include "SpringBoard/SBOrientationLockManager.h"
#include "UIKit/UIDeviceHardware.h"
#include "UIKit/UIInterfaceOrientation.h"
#include "support/ScopedTestDevice.h"

namespace {

// ---- class registry and the launch hook -------------------------------------------------------

TEST(ObjCRuntimeTest, HomeScreenClassesExistOnlyInTheHomeScreenProcess) {
  {
    ScopedTestDevice device("SpringBoard");
    EXPECT_NE(objc_getClass("SpringBoard"), nullptr);
    EXPECT_NE(objc_getClass("SBOrientationLockManager"), nullptr);
    EXPECT_EQ(objc_getClass("SBNoSuchClass"), nullptr);
    EXPECT_EQ(objc_getClass(nullptr), nullptr);
    EXPECT_EQ(objc_getClass("SpringBoard"), objc_getClass("SpringBoard"));
    EXPECT_NE(SBOrientationLockManager::sharedInstance(), nullptr);
  }
  {
    ScopedTestDevice device("Preferences");
    EXPECT_EQ(objc_getClass("SpringBoard"), nullptr);
    EXPECT_EQ(objc_getClass("SBOrientationLockManager"), nullptr);
    EXPECT_EQ(SBOrientationLockManager::sharedInstance(), nullptr);
    auto application = UIApplication::sharedApplication();
    ASSERT_NE(application, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<SpringBoard>(application), nullptr);
  }
}

// What the hook's replacement saw, per test.
struct HookRecord {
  std::vector<std::string> calls;
  bool slotFilledWhenReplacementRan = false;
};
HookRecord record;
void (*previousDidFinishLaunching)(SpringBoard*, SEL, UIApplication*) = nullptr;

void replacementDidFinishLaunching(SpringBoard* self, SEL cmd, UIApplication* application) {
  record.slotFilledWhenReplacementRan = previousDidFinishLaunching != nullptr;
  if (previousDidFinishLaunching) previousDidFinishLaunching(self, cmd, application);
  record.calls.push_back(static_cast<SimulatedSpringBoard*>(self)->hasFinishedLaunching()
                             ? "replacement after own launch"
                             : "replacement before own launch");
}

class LaunchHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record = {};
    previousDidFinishLaunching = nullptr;
  }
  ScopedTestDevice device{"SpringBoard"};
};

TEST_F(LaunchHookTest, ReplacementRunsInsteadWithThePreviousImplementationAlreadyInItsSlot) {
  Class springBoard = objc_getClass("SpringBoard");
  MSHookMessageEx(springBoard, SpringBoard::kDidFinishLaunchingSelector,
                  &replacementDidFinishLaunching, &previousDidFinishLaunching);
  ASSERT_NE(previousDidFinishLaunching, nullptr);

  auto application =
      std::dynamic_pointer_cast<SimulatedSpringBoard>(UIApplication::sharedApplication());
  ASSERT_NE(application, nullptr);
  EXPECT_EQ(application, UIApplication::sharedApplication()) << "the same object on every call";
  EXPECT_FALSE(application->hasFinishedLaunching());

  EXPECT_TRUE(SimulatedSpringBoard::finishLaunching());
  EXPECT_TRUE(record.slotFilledWhenReplacementRan);
  EXPECT_EQ(record.calls, std::vector<std::string>{"replacement after own launch"});
  EXPECT_TRUE(application->hasFinishedLaunching());
}

TEST_F(LaunchHookTest, UntypedHookStoresThePreviousImplementationToo) {
  IMP previous = nullptr;
  MSHookMessageEx(objc_getClass("SpringBoard"), SpringBoard::kDidFinishLaunchingSelector,
                  imp_cast(&replacementDidFinishLaunching), &previous);
  ASSERT_NE(previous, nullptr);
  previousDidFinishLaunching =
      reinterpret_cast<void (*)(SpringBoard*, SEL, UIApplication*)>(previous);
  SimulatedSpringBoard::finishLaunching();
  EXPECT_EQ(record.calls, std::vector<std::string>{"replacement after own launch"});
}

void wronglyTypedReplacement(SpringBoard*, SEL) {}

TEST_F(LaunchHookTest, RefusesWhatCannotBeCalledSafely) {
  // A replacement of another signature is not installed: launching runs the class's own code.
  void (*slot)(SpringBoard*, SEL) = &wronglyTypedReplacement;
  MSHookMessageEx(objc_getClass("SpringBoard"), SpringBoard::kDidFinishLaunchingSelector,
                  &wronglyTypedReplacement, &slot);
  EXPECT_EQ(slot, nullptr);

  // A Nil class (the library loaded into the wrong process) hooks nothing.
  previousDidFinishLaunching = &replacementDidFinishLaunching;
  MSHookMessageEx(static_cast<Class>(nullptr), SpringBoard::kDidFinishLaunchingSelector,
                  &replacementDidFinishLaunching, &previousDidFinishLaunching);
  EXPECT_EQ(previousDidFinishLaunching, nullptr);

  SimulatedSpringBoard::finishLaunching();
  EXPECT_TRUE(record.calls.empty());
  auto application =
      std::dynamic_pointer_cast<SimulatedSpringBoard>(UIApplication::sharedApplication());
  EXPECT_TRUE(application->hasFinishedLaunching());
}

TEST_F(LaunchHookTest, ARespringStartsFromTheUnhookedClass) {
  MSHookMessageEx(objc_getClass("SpringBoard"), SpringBoard::kDidFinishLaunchingSelector,
                  &replacementDidFinishLaunching, &previousDidFinishLaunching);
  device.restart();
  SimulatedSpringBoard::finishLaunching();
  EXPECT_TRUE(record.calls.empty());
}

// ---- the home screen's answers ---------------------------------------------------------------

class HomeScreenTest : public ::testing::Test {
 protected:
  HomeScreenState& state() { return HomeScreenState::of(device.device()); }
  MotionHardware& hardware() { return MotionHardware::of(device.device()); }
  std::shared_ptr<SpringBoard> springBoard() {
    return std::dynamic_pointer_cast<SpringBoard>(UIApplication::sharedApplication());
  }
  ScopedTestDevice device{"SpringBoard"};
};

TEST_F(HomeScreenTest, AnswersFromTheDeviceState) {
  auto app = springBoard();
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(app->_accessibilityFrontMostApplication(), nullptr);
  EXPECT_FALSE(app->isLocked());
  EXPECT_EQ(app->_frontMostAppOrientation(), 1);

  ASSERT_NE(state().installApplication("com.example.Notes"), nullptr);
  EXPECT_FALSE(state().setFrontApplication("com.example.Missing"));
  EXPECT_FALSE(state().setFrontApplication("com.example.Notes", 5));
  ASSERT_TRUE(state().setFrontApplication("com.example.Notes", 3));
  state().setDeviceLocked(true);
  ASSERT_NE(app->_accessibilityFrontMostApplication(), nullptr);
  EXPECT_EQ(app->_accessibilityFrontMostApplication()->bundleIdentifier(), "com.example.Notes");
  EXPECT_EQ(app->_frontMostAppOrientation(), 3);
  EXPECT_TRUE(app->isLocked());

  state().showHomeScreen();
  EXPECT_EQ(app->_accessibilityFrontMostApplication(), nullptr);
  EXPECT_EQ(app->_frontMostAppOrientation(), 1);

  EXPECT_EQ(UIDevice::currentDevice().userInterfaceIdiom(), UIUserInterfaceIdiomPhone);
  UIDeviceHardware::of(device.device()).setUserInterfaceIdiom(UIUserInterfaceIdiomPad);
  EXPECT_EQ(UIDevice::currentDevice().userInterfaceIdiom(), UIUserInterfaceIdiomPad);
}

TEST_F(HomeScreenTest, InstallInstanceIDLeadsToTheBundlesInfoPlist) {
  struct Case {
    int declared;
    std::size_t listed;  // entries of UISupportedInterfaceOrientations; 0: key absent
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{2, 2}, Case{4, 4}}) {
    SCOPED_TRACE("orientations=" + std::to_string(c.declared));
    auto app = state().installApplication("com.example.Maps", c.declared);
    ASSERT_NE(app, nullptr);
    const std::string id = app->info()->installInstanceID();
    EXPECT_TRUE(std::regex_match(
        id, std::regex("file:///var/containers/Bundle/Application/"
                       "[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}/Maps\\.app/")))
        << id;
    EXPECT_EQ(state().application("com.example.Maps"), app) << "reinstalling replaces the app";

    // What the tweak does with it: drop "file://", open the bundle, read its plist.
    std::string path = id;
    path.erase(0, std::string("file://").size());
    auto bundle = NSBundle::bundleWithPath(path);
    ASSERT_NE(bundle, nullptr);
    const Foundation::Dictionary& info = bundle->infoDictionary();
    EXPECT_EQ(info.valueForKey("CFBundleIdentifier"),
              Foundation::Value::string("com.example.Maps"));
    const Foundation::Value* listed = info.find("UISupportedInterfaceOrientations");
    if (c.listed == 0) {
      EXPECT_EQ(listed, nullptr);
    } else {
      ASSERT_NE(listed, nullptr);
      ASSERT_NE(listed->arrayValue(), nullptr);
      EXPECT_EQ(listed->arrayValue()->size(), c.listed);
      EXPECT_EQ(listed->arrayValue()->front(),
                Foundation::Value::string("UIInterfaceOrientationPortrait"));
    }
  }
  EXPECT_EQ(state().applications().size(), 1u);
}

TEST_F(HomeScreenTest, BundlesThatAreNotThereGiveNothing) {
  EXPECT_EQ(NSBundle::bundleWithPath("/var/containers/Bundle/Application/none/X.app"), nullptr);
  EXPECT_EQ(NSBundle::bundleWithPath(""), nullptr);
  auto app = state().installApplication("com.example.Plain");
  ASSERT_NE(app, nullptr);
  EXPECT_EQ(NSBundle::bundleWithPath(app->bundlePath() + "/Info.plist"), nullptr)
      << "a file is no bundle";
  // A folder without an Info.plist is a bundle with an empty information dictionary.
  auto parent = NSBundle::bundleWithPath("/var/containers/Bundle/Application");
  ASSERT_NE(parent, nullptr);
  EXPECT_TRUE(parent->infoDictionary().empty());
}

TEST_F(HomeScreenTest, RefusesAppsItCannotInstallSafely) {
  for (const auto& [identifier, count] :
       std::vector<std::pair<std::string, int>>{{"", 4},
                                                {"com.example/../../etc", 4},
                                                {"com.example\nNotes", 4},
                                                {"com.example.Notes", 5},
                                                {"com.example.Notes", -1}}) {
    EXPECT_EQ(state().installApplication(identifier, count), nullptr) << identifier << " " << count;
  }
  EXPECT_TRUE(state().applications().empty());
  // Odd characters stay out of the folder name.
  auto app = state().installApplication("com.example.my app!");
  ASSERT_NE(app, nullptr);
  EXPECT_TRUE(app->bundlePath().ends_with("/myapp.app")) << app->bundlePath();
}

// ---- the orientation lock and auto-rotation ---------------------------------------------------

TEST_F(HomeScreenTest, EveryLockChangeIsEmittedWithItsActor) {
  std::vector<std::string> events;
  int token = device.device().subscribe([&](const DeviceEvent& event) {
    if (event.name == "lock") {
      events.push_back(std::string(event.fields.value("on").boolValue() ? "on" : "off") + " by " +
                       *event.fields.value("by").stringValue());
    }
  });
  auto manager = SBOrientationLockManager::sharedInstance();
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager, SBOrientationLockManager::sharedInstance());
  EXPECT_FALSE(manager->isUserLocked());
  state().setOrientationLocked(true, OrientationLockActor::User);
  state().setOrientationLocked(true, OrientationLockActor::User);
  EXPECT_TRUE(manager->isUserLocked());
  manager->unlock();
  manager->unlock();
  manager->lock();
  device.device().unsubscribe(token);
  EXPECT_EQ(events, (std::vector<std::string>{"on by user", "off by tweak", "on by tweak"}));
}

struct Turn {
  double roll;
  double pitch;
  long long expected;  // the front app's interface orientation afterwards
};

// The device held upright (screen vertical) and turned `degrees` clockwise from portrait
// towards resting on its right edge.
Turn upright(double degrees, long long expected) {
  const double angle = degrees * std::numbers::pi / 180;
  return {std::numbers::pi / 2, std::asin(std::cos(angle)), expected};
}

TEST_F(HomeScreenTest, FrontAppFollowsTheDeviceOnlyWhileUnlockedAndOnlyAsItSupports) {
  struct Case {
    const char* what;
    int declared;
    UIUserInterfaceIdiom idiom;
    std::vector<Turn> turns;
  };
  const std::vector<Case> cases = {
      {"all four",
       4,
       UIUserInterfaceIdiomPhone,
       {{1.5, 0, 4}, {0, 0, 4}, {0, 1.4, 1}, {-1.5, 0, 3}, {0, -1.4, 2}, {0, 1.4, 1}}},
      {"between two the current one holds (hysteresis)",
       4,
       UIUserInterfaceIdiomPhone,
       {upright(45, 1), upright(50, 1), upright(60, 4), upright(45, 4), upright(40, 4),
        upright(30, 1)}},
      {"near flat is ignored", 4, UIUserInterfaceIdiomPhone, {{0.4, 0, 1}, {0.2, 0.2, 1}}},
      {"portrait only", 1, UIUserInterfaceIdiomPhone, {{1.5, 0, 1}, {-1.5, 0, 1}, {0, -1.4, 1}}},
      {"portrait and landscape left",
       2,
       UIUserInterfaceIdiomPhone,
       {{-1.5, 0, 1}, {1.5, 0, 4}, {-1.5, 0, 4}, {0, 1.4, 1}}},
      {"undeclared on a phone: never upside down",
       0,
       UIUserInterfaceIdiomPhone,
       {{0, -1.4, 1}, {-1.5, 0, 3}}},
      {"undeclared on a pad: all four", 0, UIUserInterfaceIdiomPad, {{0, -1.4, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UIDeviceHardware::of(device.device()).setUserInterfaceIdiom(c.idiom);
    hardware().setAttitude(0, 1.4);
    ASSERT_NE(state().installApplication("com.example.App", c.declared), nullptr);
    ASSERT_TRUE(state().setFrontApplication("com.example.App", 1));
    for (const Turn& turn : c.turns) {
      hardware().setAttitude(turn.roll, turn.pitch);
      EXPECT_EQ(state().frontApplicationOrientation(), turn.expected)
          << "roll " << turn.roll << ", pitch " << turn.pitch;
    }
  }
}

TEST_F(HomeScreenTest, WhileLockedTheAppStaysAndUnlockingTurnsItAtOnce) {
  ASSERT_NE(state().installApplication("com.example.App"), nullptr);
  ASSERT_TRUE(state().setFrontApplication("com.example.App", 1));
  state().setOrientationLocked(true, OrientationLockActor::User);
  hardware().setAttitude(1.5, 0);
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 1);

  SBOrientationLockManager::sharedInstance()->unlock();  // a suggestion was accepted
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 4);
  hardware().setAttitude(0, 1.4);  // turned back
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 1);

  SBOrientationLockManager::sharedInstance()->lock();
  hardware().setAttitude(-1.5, 0);
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 1);

  // The home screen itself does not turn, and bringing an app up keeps the orientation given.
  state().setOrientationLocked(false, OrientationLockActor::User);
  state().showHomeScreen();
  hardware().setAttitude(1.5, 0);
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 1);
  ASSERT_TRUE(state().setFrontApplication("com.example.App", 1));
  EXPECT_EQ(springBoard()->_frontMostAppOrientation(), 1);
}

TEST(InterfaceAutoRotationTest, IgnoresReadingsThatAreNoNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(
      InterfaceAutoRotation::nextOrientation(1, CMAttitude(nan, 0), UIInterfaceOrientationMaskAll),
      1);
  EXPECT_EQ(
      InterfaceAutoRotation::nextOrientation(3, CMAttitude(0, nan), UIInterfaceOrientationMaskAll),
      3);
}

}  // namespace

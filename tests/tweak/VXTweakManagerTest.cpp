#include "VXCommon/VXTweakManager.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "Foundation/NSNotificationCenterSimulation.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIDeviceHardware.h"
#include "VXCommon/VXFab.h"
#include "support/ScopedTestDevice.h"
#include "tweak/OverlayTestSupport.h"
#include "tweak/PrefsTestSupport.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;

constexpr const char* kApp = "com.example.reader";
constexpr const char* kPortraitOnlyApp = "com.example.camera";
constexpr double kSettleSeconds = 0.3;  // longer than a fade

// A displayed suggestion's callback and a pending timer hold their manager; the process's own
// manager is let go this way when the process ends, a test's manager when the test ends.
void letGo(VXTweakManager& manager) {
  manager.endTimer();
  manager.alertHelper()->resetState();
}

class VXTweakManagerTest : public ::testing::Test {
 protected:
  VXTweakManagerTest() {
    home().installApplication(kApp, 4);
    home().installApplication(kPortraitOnlyApp, 1);
    home().installApplication("com.example.two", 2);
    home().installApplication("com.example.none", 0);
    home().setFrontApplication(kApp, 1);
    home().setOrientationLocked(true, OrientationLockActor::User);
    manager = VXTweakManager::init();
  }
  ~VXTweakManagerTest() override { letGo(*manager); }

  HomeScreenState& home() { return HomeScreenState::of(device.device()); }
  bool timerPending() const { return manager->timer() && manager->timer()->isValid(); }
  bool buttonShown() const { return manager->alertHelper()->isDisplayingAlert(); }
  void tap() { manager->alertHelper()->buttonTap(*manager->alertHelper()->FAB()); }
  void post(const char* name) { NSNotificationCenter::defaultCenter().postNotificationName(name); }

  ScopedTestDevice device;
  overlay_test::LogCapture log;
  std::shared_ptr<VXTweakManager> manager;
};

TEST_F(VXTweakManagerTest, InitLogsFirstAndObservesThreeNames) {
  ASSERT_GE(log.lines().size(), 3u);
  EXPECT_EQ(log.lines()[0],
            "<VX> VXTweakManager.cpp:49 -[VXTweakManager init] VXTweakManager initialized");
  EXPECT_NE(log.lines()[1].find("VXAlertHelper initializied"), std::string::npos);
  EXPECT_NE(log.lines()[2].find("VXMotionHelper initialized"), std::string::npos);
  EXPECT_EQ(NSNotificationCenterSimulation::registrationCountForTesting(
                NSNotificationCenter::defaultCenter(), manager.get()),
            3u);
  EXPECT_EQ(manager->motionHelper()->timer(), nullptr) << "sampling waits for run()";
  EXPECT_EQ(manager->fabDisappearInterval(), 3.0);
  EXPECT_FALSE(manager->isTweakDisabled());
  EXPECT_TRUE(manager->blacklistedApps().empty());
}

enum class From { Idle, Suggesting, Lifted, LiftedAfterDrag };
enum class Event { Portrait, Landscape, TimerFires, Tap, PanStart, PanEnd, PrefsUpdate };

struct TransitionRow {
  const char* name;
  From from;
  bool quit;      // switched off and the device locked
  bool userLock;  // the orientation lock as the event comes
  Event event;
  // Afterwards: the lifted flag, a pending timer, the button (once fades are over), the lock.
  bool lifted, timer, button, lock;
};

TEST_F(VXTweakManagerTest, TransitionTable) {
  const TransitionRow rows[] = {
      {"Q resets Idle", From::Idle, true, true, Event::Landscape, false, false, false, true},
      {"Q resets Suggesting", From::Suggesting, true, true, Event::Landscape, false, false, false,
       true},
      {"landscape offers", From::Idle, false, true, Event::Landscape, false, true, true, true},
      {"landscape again", From::Suggesting, false, true, Event::Landscape, false, true, true, true},
      {"portrait in Idle", From::Idle, false, true, Event::Portrait, false, false, false, true},
      {"portrait withdraws", From::Suggesting, false, true, Event::Portrait, false, false, false,
       true},
      {"lock off, landscape", From::Idle, false, false, Event::Landscape, false, false, false,
       false},
      {"lock off, portrait while suggesting", From::Suggesting, false, false, Event::Portrait,
       false, true, true, false},
      {"lock off, landscape while suggesting", From::Suggesting, false, false, Event::Landscape,
       false, true, true, false},
      {"timer withdraws", From::Suggesting, false, true, Event::TimerFires, false, false, false,
       true},
      {"timer in Lifted keeps the lock off", From::LiftedAfterDrag, false, false, Event::TimerFires,
       false, false, false, false},
      {"tap lifts the lock", From::Suggesting, false, true, Event::Tap, true, false, false, false},
      {"drag start stops the timer", From::Suggesting, false, true, Event::PanStart, false, false,
       true, true},
      {"drag end starts a timer", From::Idle, false, true, Event::PanEnd, false, true, false, true},
      {"Lifted, portrait: lock back on", From::Lifted, false, false, Event::Portrait, false, false,
       false, true},
      {"Lifted, portrait, user locked again", From::Lifted, false, true, Event::Portrait, false,
       false, false, true},
      {"Lifted, landscape, locked: offers again", From::Lifted, false, true, Event::Landscape, true,
       true, true, true},
      {"Lifted, landscape, unlocked: nothing", From::Lifted, false, false, Event::Landscape, true,
       false, false, false},
      {"Lifted skips the quit test", From::Lifted, true, false, Event::Portrait, false, false,
       false, true},
      {"preferences change no state", From::Suggesting, false, true, Event::PrefsUpdate, false,
       true, true, true},
  };
  for (const TransitionRow& row : rows) {
    SCOPED_TRACE(row.name);
    ScopedTestDevice rowDevice;  // a fresh home screen and manager for every row
    HomeScreenState& screen = HomeScreenState::of(rowDevice.device());
    screen.installApplication(kApp, 4);
    screen.setFrontApplication(kApp, 1);
    screen.setOrientationLocked(true, OrientationLockActor::User);
    auto m = VXTweakManager::init();
    auto settle = [&] { rowDevice.runFor(kSettleSeconds); };
    if (row.from != From::Idle) {
      m->orientationChanged(2);
      settle();
    }
    if (row.from == From::Lifted || row.from == From::LiftedAfterDrag) {
      m->alertHelper()->buttonTap(*m->alertHelper()->FAB());
      settle();
      if (row.from == From::LiftedAfterDrag) m->fabButtonPanEnd({});
    }
    screen.setOrientationLocked(row.userLock, OrientationLockActor::User);
    if (row.quit) {
      m->setIsTweakDisabled(true);
      screen.setDeviceLocked(true);
    }
    switch (row.event) {
      case Event::Portrait:
        m->orientationChanged(1);
        break;
      case Event::Landscape:
        m->orientationChanged(2);
        break;
      case Event::TimerFires:
        rowDevice.runFor(m->fabDisappearInterval());
        break;
      case Event::Tap:
        m->alertHelper()->buttonTap(*m->alertHelper()->FAB());
        break;
      case Event::PanStart:
        m->fabButtonPanStart({});
        break;
      case Event::PanEnd:
        m->fabButtonPanEnd({});
        break;
      case Event::PrefsUpdate:
        m->preferencesUpdated({"VXPREFSUPDATED", Value::dictionary({}), {}});
    }
    EXPECT_EQ(m->isTweakUnlockedDeviceOrientation(), row.lifted);
    EXPECT_EQ(m->timer() && m->timer()->isValid(), row.timer);
    settle();
    EXPECT_EQ(m->alertHelper()->isDisplayingAlert(), row.button);
    EXPECT_EQ(screen.isOrientationLocked(), row.lock);
    letGo(*m);
  }
}

struct QuitCase {
  const char* name;
  bool disabled, deviceLocked, homeScreen;
  long long interfaceOrientation;
  const char* front;
  bool blacklisted;
  bool quits;
  const char* message;  // the values of the quit line, or nullptr for no line
};

TEST_F(VXTweakManagerTest, QuitTestAndItsMessage) {
  const QuitCase cases[] = {
      {"all clear", false, false, false, 1, kApp, false, false, nullptr},
      {"disabled", true, false, false, 1, kApp, false, true, "disabled 1, locked 0, topapp 0"},
      {"device locked", false, true, false, 1, kApp, false, true, "disabled 0, locked 1, topapp 0"},
      {"home screen", false, false, true, 1, kApp, false, true, "disabled 0, locked 0, topapp 1"},
      {"orientation alone", false, false, false, 3, kApp, false, true,
       "disabled 0, locked 0, topapp 0"},
      {"everything", true, true, true, 1, kApp, false, true, "disabled 1, locked 1, topapp 1"},
      {"portrait-only app", false, false, false, 1, kPortraitOnlyApp, false, true, nullptr},
      {"blacklisted app", false, false, false, 1, kApp, true, true, nullptr},
  };
  for (const QuitCase& c : cases) {
    SCOPED_TRACE(c.name);
    manager->setIsTweakDisabled(c.disabled);
    manager->setBlacklistedApps(
        c.blacklisted ? Foundation::Array{Value::string("com.other"), Value::string(c.front)}
                      : Foundation::Array{});
    home().setDeviceLocked(c.deviceLocked);
    home().setFrontApplication(c.front, c.interfaceOrientation);
    if (c.homeScreen) home().showHomeScreen();
    log.clear();
    EXPECT_EQ(manager->shouldQuit(), c.quits);
    if (c.message) {
      EXPECT_EQ(log.lines(),
                std::vector<std::string>{std::string("<VX> VXTweakManager.cpp:135 -[VXTweakManager "
                                                     "shouldQuit] quiting state: ") +
                                         c.message});
    } else {
      EXPECT_TRUE(log.lines().empty());
    }
  }
}

TEST_F(VXTweakManagerTest, PortraitOnlyMeansExactlyOneOrientationOnAPhone) {
  EXPECT_TRUE(manager->isAppSupportOnlyPortrait(*home().application(kPortraitOnlyApp)));
  EXPECT_FALSE(manager->isAppSupportOnlyPortrait(*home().application("com.example.two")));
  EXPECT_FALSE(manager->isAppSupportOnlyPortrait(*home().application("com.example.none")));
  EXPECT_FALSE(manager->isAppSupportOnlyPortrait(*home().application(kApp)));
  UIDeviceHardware::of(device.device()).setUserInterfaceIdiom(UIUserInterfaceIdiomPad);
  EXPECT_FALSE(manager->isAppSupportOnlyPortrait(*home().application(kPortraitOnlyApp)));
}

TEST_F(VXTweakManagerTest, PreferenceFallbacks) {
  manager->orientationChanged(2);
  ASSERT_TRUE(timerPending());
  EXPECT_EQ(manager->timer()->timeInterval(), 3.0) << "before any broadcast";

  struct Case {
    const char* name;
    Value object;
    double interval;
    bool disabled;
    std::size_t blacklisted;
  };
  const Value apps = Value::array({Value::string("a"), Value::string("b")});
  const Case cases[] = {
      {"all set",
       Value::dictionary({{"IsEnabled", Value::boolean(false)},
                          {"DisappearInterval", Value::real(0.10000000149011612)},
                          {"BlacklistedApps", apps}}),
       0.10000000149011612, true, 2},
      {"empty dictionary", Value::dictionary({}), 2.0, false, 0},
      {"interval 0", Value::dictionary({{"DisappearInterval", Value::real(0)}}), 2.0, false, 0},
      {"interval 5.5", Value::dictionary({{"DisappearInterval", Value::real(5.5)}}), 5.5, false, 0},
      {"no object", Value(), 2.0, false, 0},
      {"wrong kinds", Value::dictionary({{"IsEnabled", apps}, {"BlacklistedApps", Value::real(1)}}),
       2.0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NSNotificationCenter::defaultCenter().postNotificationName("VXPREFSUPDATED", c.object);
    EXPECT_EQ(manager->fabDisappearInterval(), c.interval);
    EXPECT_EQ(manager->isTweakDisabled(), c.disabled);
    EXPECT_EQ(manager->blacklistedApps().size(), c.blacklisted);
    EXPECT_EQ(log.lines().back(),
              "<VX> VXTweakManager.cpp:76 -[VXTweakManager preferencesUpdated:] VXTweakManager "
              "prefs updated");
  }
  EXPECT_EQ(manager->timer()->timeInterval(), 3.0) << "a running timer keeps its interval";
}

// The interval is single precision: 1e39 and beyond become infinity, which must mean "never",
// not the timer's minimum for non-positive intervals.
TEST_F(VXTweakManagerTest, ALongerIntervalNeverWithdrawsSooner) {
  constexpr double kHorizonSeconds = 60.0;
  constexpr double kStepSeconds = 0.25;
  constexpr double kNever = std::numeric_limits<double>::infinity();
  const double intervals[] = {0.5, 2.5, 30.0, 1e30, 1e39, 1e300, kNever};
  double previousWithdrawal = 0;
  for (double interval : intervals) {
    SCOPED_TRACE(interval);
    ScopedTestDevice rowDevice;
    HomeScreenState& screen = HomeScreenState::of(rowDevice.device());
    screen.installApplication(kApp, 4);
    screen.setFrontApplication(kApp, 1);
    screen.setOrientationLocked(true, OrientationLockActor::User);
    auto m = VXTweakManager::init();
    m->preferencesUpdated(
        {"VXPREFSUPDATED", Value::dictionary({{"DisappearInterval", Value::real(interval)}}), {}});
    m->orientationChanged(2);
    double withdrawal = kNever;
    for (double t = kStepSeconds; t <= kHorizonSeconds; t += kStepSeconds) {
      rowDevice.runFor(kStepSeconds);
      if (!(m->timer() && m->timer()->isValid())) {
        withdrawal = t;
        break;
      }
    }
    EXPECT_GE(withdrawal, previousWithdrawal);
    EXPECT_EQ(withdrawal == kNever, interval > kHorizonSeconds);
    previousWithdrawal = withdrawal;
    letGo(*m);
  }
}

TEST_F(VXTweakManagerTest, DragEndStartsAFullNewInterval) {
  manager->orientationChanged(2);
  device.runFor(2.0);
  post("VXFab_Pan_Start");
  post("VXFab_Pan_Start");  // repeated during one drag: harmless
  device.runFor(10.0);
  EXPECT_TRUE(buttonShown()) << "no timer runs during the drag";
  post("VXFab_Pan_End");
  device.runFor(2.99);
  EXPECT_TRUE(buttonShown());
  device.runFor(0.01 + kSettleSeconds);
  EXPECT_FALSE(buttonShown());
}

// After a tap the drag end's timer still fires: it clears the lifted flag, so the return to
// portrait no longer puts the lock back.
TEST_F(VXTweakManagerTest, DragEndAfterTapForgetsTheLiftedLock) {
  manager->orientationChanged(2);
  device.runFor(kSettleSeconds);
  tap();
  post("VXFab_Pan_End");
  device.runFor(3.0);
  EXPECT_FALSE(manager->isTweakUnlockedDeviceOrientation());
  manager->orientationChanged(1);
  EXPECT_FALSE(home().isOrientationLocked());
}

// A second suggestion replaces the pending timer; the first one must not withdraw it early.
TEST_F(VXTweakManagerTest, ReplacedTimerCannotWithdrawEarly) {
  manager->orientationChanged(2);
  device.runFor(2.0);
  manager->orientationChanged(2);
  device.runFor(1.5);  // past the first timer's 3 s
  EXPECT_TRUE(buttonShown());
  EXPECT_TRUE(timerPending());
  device.runFor(1.5 + kSettleSeconds);
  EXPECT_FALSE(buttonShown());
}

}  // namespace

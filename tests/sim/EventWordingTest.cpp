// Plain words for every event, every action and the changes of the device's state.
#include <gtest/gtest.h>

#include <string>

#include "UIKit/UIColor.h"
#include "sim/DeviceSetup.h"
#include "sim/EventWording.h"
#include "sim/TimelineEventSamples.h"

namespace sim {
namespace {

using Foundation::Array;
using Foundation::Dictionary;
using Foundation::Value;

TEST(EventWordingTest, EveryEventKindInPlainWords) {
  struct Case {
    TimelineEvent event;
    const char* words;
  };
  Dictionary row1{{"row", Value::string("pToggleIsEnabled")}, {"value", Value::boolean(true)}};
  Dictionary row2{{"row", Value::string("Restore Defaults")}};
  const Case cases[] = {
      {{0, "boot", {}}, "home screen started"},
      {{0.3, "orientation", {{"value", Value::integer(1)}}}, "motion helper reports portrait"},
      {{0.3, "orientation", {{"value", Value::integer(2)}}}, "motion helper reports landscape"},
      {lock(1, false, "tweak"), "lock lifted by Gyrowhirl"},
      {lock(1, true, "tweak"), "lock put back by Gyrowhirl"},
      {lock(1, true, "user"), "orientation lock on (by the user)"},
      {lock(1, false, "user"), "orientation lock off (by the user)"},
      {buttonShown(3, 150, 367, 75), "button shown at (150, 367), 75\u00d775"},
      {buttonRemoved(3), "button removed"},
      // Drag positions carry the rounding of their steps; people read two decimals at most.
      {{3,
        "button",
        {{"state", Value::string("moved")},
         {"x", Value::real(62.20000000000003)},
         {"y", Value::real(266.3)},
         {"w", Value::real(75)},
         {"h", Value::real(75)}}},
       "button dragged to (62.2, 266.3)"},
      {{3, "haptic", {{"style", Value::integer(0)}}}, "light haptic"},
      {{3, "haptic", {{"style", Value::integer(2)}}}, "heavy haptic"},
      {{3, "haptic", {{"style", Value::integer(9)}}}, "style 9 haptic"},
      {{4,
        "touch",
        {{"x", Value::real(187.5)}, {"y", Value::real(404.5)}, {"to", Value::string("button")}}},
       "finger on the button at (187.5, 404.5)"},
      {{4,
        "touch",
        {{"x", Value::real(10)}, {"y", Value::real(20)}, {"to", Value::string("passthrough")}}},
       "touch at (10, 20) passes through to the app"},
      {{2,
        "prefs",
        {{"entries", Value::dictionary(Dictionary{
                         {"IsEnabled", Value::boolean(true)},
                         {"FABBgColor", Value::color(UIColor::colorWithRed(1, 149 / 255.0, 0, 1))},
                         {"Origin", Value::point(CGPointMake(50, 147.5))},
                         {"BlacklistedApps", Value::array(Array{Value::string("com.a")})}})}}},
       "preferences read: IsEnabled=true, FABBgColor=#FF9500, Origin=(50, 147.5), "
       "BlacklistedApps=[com.a]"},
      {{2, "prefs", {{"entries", Value::dictionary({})}}}, "preferences read: nothing set"},
      {{5,
        "file",
        {{"op", Value::string("write")}, {"path", Value::string(DeviceSetup::kPreferencesPath)}}},
       "preferences file written"},
      {{5,
        "file",
        {{"op", Value::string("delete")}, {"path", Value::string(DeviceSetup::kPreferencesPath)}}},
       "preferences file deleted"},
      {{5, "file", {{"op", Value::string("write")}, {"path", Value::string("/tmp/x")}}},
       "file written: /tmp/x"},
      {{5, "notify", {{"name", Value::string("com.zel.gyrowhirl.settingschanged")}}},
       "notification com.zel.gyrowhirl.settingschanged"},
      {{6,
        "alert",
        {{"title", Value::string("Restore")},
         {"message", Value::string("Are you sure?")},
         {"actions", Value::array(Array{Value::string("No"), Value::string("Yes")})}}},
       "alert \u201cRestore\u201d: Are you sure? [No] [Yes]"},
      {{6,
        "spawn",
        {{"path", Value::string("/usr/bin/killall")},
         {"argv", Value::array(Array{Value::string("killall"), Value::string("backboardd")})}}},
       "program started: /usr/bin/killall backboardd"},
      {{6, "url", {{"url", Value::string("https://example.com/")}}},
       "URL opened: https://example.com/"},
      {{6, "syslog", {{"line", Value::string("could not write")}}}, "system log: could not write"},
      {{6,
        "page",
        {{"rows", Value::array(Array{Value::dictionary(row1), Value::dictionary(row2)})}}},
       "settings page: pToggleIsEnabled true, Restore Defaults"},
      {{6, "log", {{"line", Value::string("<VX> hello")}}}, "log: <VX> hello"},
      {{6, "respring", {}}, "the user interface restarts"},
      {{6,
        "refused",
        {{"action", Value::string("alert")}, {"reason", Value::string("no alert is on screen")}}},
       "could not alert: no alert is on screen"},
      // One event, one line: a message of several lines is joined.
      {{6,
        "alert",
        {{"title", Value::string("Notice")},
         {"message", Value::string("Restored\nPlease respring")},
         {"actions", Value::array(Array{Value::string("Respring")})}}},
       "alert \u201cNotice\u201d: Restored / Please respring [Respring]"},
      // An event this printer has no words for keeps its name and fields.
      {{7, "strange", {{"a", Value::string("b c")}, {"n", Value::integer(2)}}},
       "strange a=\"b c\" n=2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EventWording::describe(c.event), c.words) << c.event.name;
  }

  // Long lists end in an ellipsis instead of running off the screen.
  Dictionary many;
  for (int i = 0; i < 40; ++i) many.set("Key" + std::to_string(i), Value::integer(i));
  const std::string cut =
      EventWording::describe({0, "prefs", {{"entries", Value::dictionary(many)}}});
  EXPECT_TRUE(cut.ends_with("\u2026")) << cut;
  EXPECT_LE(cut.size(), EventWording::kMaxDescriptionColumns + 3);
}

TEST(EventWordingTest, ActionsAndStateChangesInPlainWords) {
  struct Case {
    Action action;
    const char* words;
  };
  const Case actions[] = {
      {BootAction{}, "switch the phone on"},
      {FrontAction{"com.example.reader", 1}, "open com.example.reader (portrait)"},
      {AttitudeAction{1.5, 0}, "turn the phone to landscape (roll 1.5, pitch 0)"},
      {AttitudeAction{0, 1.4}, "turn the phone upright (roll 0, pitch 1.4)"},
      {AttitudeAction{0, 0}, "lay the phone flat (roll 0, pitch 0)"},
      {AttitudeAction{1, 1}, "tilt the phone (roll 1, pitch 1)"},
      {TapAction{}, "tap the button"},
      {DragAction{-100, -220, 4, false}, "drag the button by (-100, -220)"},
      {DragAction{5, 5, 4, true}, "drag the button by (5, 5), then cancel"},
      {PrefsWriteAction{"pSegmentedButtonSize", Value::integer(3)},
       "another app writes pSegmentedButtonSize = 3"},
      {SettingsPickAction{{"com.a", "com.b"}}, "in Settings, pick com.a, com.b"},
      {AlertAction{"Yes"}, "answer the alert: \u201cYes\u201d"},
  };
  for (const Case& c : actions) {
    EXPECT_EQ(EventWording::describeAction(c.action), c.words);
  }

  DeviceStatus reader{true, false, "com.example.reader", 1, false};
  DeviceStatus turned = reader;
  turned.orientation = 4;
  DeviceStatus home = reader;
  home.frontApp.clear();
  DeviceStatus locked = reader;
  locked.deviceLocked = true;
  EXPECT_EQ(EventWording::describeChange(reader, turned),
            "com.example.reader turned to landscape left");
  EXPECT_EQ(EventWording::describeChange(reader, home), "home screen shown");
  EXPECT_EQ(EventWording::describeChange(home, reader), "com.example.reader in front, portrait");
  EXPECT_EQ(EventWording::describeChange(reader, locked), "the phone is locked");
  // The lock has its own events: a change of it alone is no news here.
  DeviceStatus unlocked = reader;
  unlocked.orientationLocked = false;
  EXPECT_EQ(EventWording::describeChange(reader, unlocked), "");
}

}  // namespace
}  // namespace sim

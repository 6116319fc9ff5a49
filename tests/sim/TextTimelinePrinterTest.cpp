// The human timeline: plain words for every event and action, the state column following the
// device, the summary's counts, and colour only when asked for.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "UIKit/UIColor.h"
#include "sim/DeviceSetup.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

using Foundation::Array;
using Foundation::Dictionary;
using Foundation::Value;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TimelineEvent buttonShown(double t, double x, double y, double size) {
  return {t,
          "button",
          {{"state", Value::string("shown")},
           {"x", Value::real(x)},
           {"y", Value::real(y)},
           {"w", Value::real(size)},
           {"h", Value::real(size)}}};
}
TimelineEvent buttonRemoved(double t) {
  return {t, "button", {{"state", Value::string("removed")}}};
}
TimelineEvent lock(double t, bool on, const char* by) {
  return {t, "lock", {{"on", Value::boolean(on)}, {"by", Value::string(by)}}};
}

TEST(TextTimelinePrinterTest, EveryEventKindInPlainWords) {
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
    EXPECT_EQ(TextTimelinePrinter::describe(c.event), c.words) << c.event.name;
  }

  // Long lists end in an ellipsis instead of running off the screen.
  Dictionary many;
  for (int i = 0; i < 40; ++i) many.set("Key" + std::to_string(i), Value::integer(i));
  const std::string cut =
      TextTimelinePrinter::describe({0, "prefs", {{"entries", Value::dictionary(many)}}});
  EXPECT_TRUE(cut.ends_with("\u2026")) << cut;
  EXPECT_LE(cut.size(), TextTimelinePrinter::kMaxDescriptionColumns + 3);
}

TEST(TextTimelinePrinterTest, ActionsAndStateChangesInPlainWords) {
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
    EXPECT_EQ(TextTimelinePrinter::describeAction(c.action), c.words);
  }

  DeviceStatus reader{true, false, "com.example.reader", 1, false};
  DeviceStatus turned = reader;
  turned.orientation = 4;
  DeviceStatus home = reader;
  home.frontApp.clear();
  DeviceStatus locked = reader;
  locked.deviceLocked = true;
  EXPECT_EQ(TextTimelinePrinter::describeChange(reader, turned),
            "com.example.reader turned to landscape left");
  EXPECT_EQ(TextTimelinePrinter::describeChange(reader, home), "home screen shown");
  EXPECT_EQ(TextTimelinePrinter::describeChange(home, reader),
            "com.example.reader in front, portrait");
  EXPECT_EQ(TextTimelinePrinter::describeChange(reader, locked), "the phone is locked");
  // The lock has its own events: a change of it alone is no news here.
  DeviceStatus unlocked = reader;
  unlocked.orientationLocked = false;
  EXPECT_EQ(TextTimelinePrinter::describeChange(reader, unlocked), "");

  EXPECT_EQ(TextTimelinePrinter::frontColumn(reader), "com.example.reader portrait");
  EXPECT_EQ(TextTimelinePrinter::frontColumn(home), "home screen");
  DeviceStatus longName = turned;
  longName.frontApp = "com.example.an.application.with.a.very.long.identifier";
  const std::string column = TextTimelinePrinter::frontColumn(longName);
  EXPECT_TRUE(column.starts_with("\u2026")) << column;
  EXPECT_TRUE(column.ends_with("identifier landscape")) << column;
}

TEST(TextTimelinePrinterTest, ColumnsStayAlignedAndTheStateFollowsTheDevice) {
  std::ostringstream out;
  auto owned = std::make_unique<TextTimelinePrinter>(out);
  TextTimelinePrinter& printer = *owned;
  Timeline timeline(std::move(owned));
  DeviceStatus reader{true, false, "com.example.reader", 1, false};
  printer.status(0, reader, false);
  timeline.record(0, "boot");
  printer.action(3.5, "tap the button");
  timeline.record(lock(3.5, false, "tweak"));
  DeviceStatus turned = reader;
  turned.orientationLocked = false;
  turned.orientation = 4;
  printer.status(3.5, turned, true);
  timeline.record(1234.5, "orientation", {{"value", Value::integer(1)}});
  timeline.finish();

  const std::vector<std::string> lines = linesOf(out.str());
  ASSERT_GE(lines.size(), 6u) << out.str();
  EXPECT_TRUE(lines[0].ends_with("time  lock  front app                         event"))
      << lines[0];
  const std::vector<std::string> expected = {
      "     0.000  on    com.example.reader portrait       home screen started",
      "     3.500  on    com.example.reader portrait       \u25b8 tap the button",
      // The lock event updates the lock column at once; the app turns right after.
      "     3.500  off   com.example.reader portrait       lock lifted by Gyrowhirl",
      "     3.500  off   com.example.reader landscape      com.example.reader turned to "
      "landscape left",
      "  1234.500  off   com.example.reader landscape      motion helper reports portrait",
  };
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i + 1], expected[i]);
  EXPECT_EQ(out.str().find('\x1b'), std::string::npos) << "no colour unless asked for";
}

TEST(TextTimelinePrinterTest, SummaryCountsSuggestionsLockChangesAndFiles) {
  std::ostringstream out;
  Timeline timeline(std::make_unique<TextTimelinePrinter>(out));
  timeline.record(0, "boot");
  timeline.record(lock(0, true, "user"));
  // Accepted: the lock lifted while the button is up.
  timeline.record(buttonShown(3, 150, 367, 75));
  timeline.record(lock(3.5, false, "tweak"));
  timeline.record(buttonRemoved(3.7));
  timeline.record(lock(5, true, "tweak"));
  // Left alone: withdrawn.
  timeline.record(buttonShown(8, 150, 367, 75));
  timeline.record(buttonRemoved(10.2));
  // Taken away by a restart of the home screen.
  timeline.record(buttonShown(12, 150, 367, 75));
  timeline.record(13, "boot");
  // Still up when the run ends.
  timeline.record(buttonShown(16, 150, 367, 75));
  timeline.record(
      14, "file",
      {{"op", Value::string("write")}, {"path", Value::string(DeviceSetup::kPreferencesPath)}});
  timeline.record(
      15, "file",
      {{"op", Value::string("delete")}, {"path", Value::string(DeviceSetup::kPreferencesPath)}});
  timeline.finish();

  const std::string text = out.str();
  EXPECT_NE(text.find("summary: 13 events in 16 s of device time"), std::string::npos) << text;
  EXPECT_NE(text.find("4 offered, 1 accepted, 2 withdrawn, 1 still on screen"), std::string::npos)
      << text;
  EXPECT_NE(text.find("3 changes (1 by the user, 2 by Gyrowhirl)"), std::string::npos) << text;
  EXPECT_NE(text.find("1 write, 1 deletion of the preferences file"), std::string::npos) << text;
  // The untapped removal reads as a withdrawal; the one after the tap as a removal.
  EXPECT_NE(text.find("    10.200  "), std::string::npos) << text;
  EXPECT_NE(text.find(std::string(TextTimelinePrinter::kWithdrawnWords)), std::string::npos);
  EXPECT_NE(text.find("button removed"), std::string::npos);
}

TEST(TextTimelinePrinterTest, ColourOnlyWhenAskedFor) {
  for (bool colour : {false, true}) {
    std::ostringstream out;
    Timeline timeline(std::make_unique<TextTimelinePrinter>(out, colour));
    timeline.record(buttonShown(3, 150, 367, 75));
    timeline.record(lock(3.5, false, "tweak"));
    timeline.finish();
    const std::string text = out.str();
    EXPECT_EQ(text.find("\x1b[") != std::string::npos, colour) << text;
    // The words are the same either way.
    EXPECT_NE(text.find("button shown at (150, 367)"), std::string::npos);
  }
}

}  // namespace
}  // namespace sim

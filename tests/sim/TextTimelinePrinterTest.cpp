// The human timeline: the front-app column, the state column following the device, the
// summary's counts, and colour only when asked for (the words: EventWordingTest).
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "UIKit/UIColor.h"
#include "sim/DeviceSetup.h"
#include "sim/TextTimelinePrinter.h"
#include "sim/Timeline.h"
#include "sim/TimelineEventSamples.h"

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

TEST(TextTimelinePrinterTest, FrontColumnNamesTheAppAndCutsLongNamesFromTheLeft) {
  DeviceStatus reader{true, false, "com.example.reader", 1, false};
  DeviceStatus turned = reader;
  turned.orientation = 4;
  DeviceStatus home = reader;
  home.frontApp.clear();
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

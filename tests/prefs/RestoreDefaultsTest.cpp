// Restoring the defaults, the respring that follows, and the donation button.
#include <gtest/gtest.h>

#include "PaneTestSupport.h"
#include "Preferences/PSListControllerUser.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIAlertControllerPresentation.h"

namespace prefs_test {
namespace {

class RestoreDefaultsTest : public PaneTest {
 protected:
  void SetUp() override {
    installBundle();
    controller_ = makeController();
    controller_->specifiers();
    controller_->view();
  }

  std::shared_ptr<UIAlertController> alert() const {
    return std::dynamic_pointer_cast<UIAlertController>(controller_->presentedViewController());
  }
  void pressRestore() {
    std::string error;
    ASSERT_TRUE(PSListControllerUser::userPressedButton(*controller_, "Restore Defaults", &error))
        << error;
    ASSERT_TRUE(alert());
    EXPECT_EQ(alert()->title(), "Confirmation");
    EXPECT_EQ(alert()->message(), "This will restore Gyrowhirl Settings to default\nAre you sure?");
  }
  void tap(const std::string& title) {
    auto shown = alert();
    ASSERT_TRUE(shown);
    ASSERT_TRUE(UIAlertControllerPresentation::tapActionWithTitle(*shown, title));
  }
  std::vector<std::string> alertActionTitles() const {
    std::vector<std::string> result;
    for (const auto& action : alert()->actions()) result.push_back(action->title());
    return result;
  }

  std::shared_ptr<VXPRootListController> controller_;
};

TEST_F(RestoreDefaultsTest, TheConfirmationOffersYesThenNo) {
  pressRestore();
  ASSERT_EQ(alert()->actions().size(), 2u);
  EXPECT_EQ(alert()->actions()[0]->title(), "Yes");
  EXPECT_EQ(alert()->actions()[0]->style(), UIAlertActionStyleDefault);
  EXPECT_EQ(alert()->actions()[1]->title(), "No");
  EXPECT_EQ(alert()->actions()[1]->style(), UIAlertActionStyleCancel);
  EXPECT_EQ(alert()->preferredStyle(), UIAlertControllerStyleAlert);
  const auto shown = eventsNamed("alert");
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(Foundation::fromEventValue(shown[0].fields.value("actions")),
            Value::array({Value::string("Yes"), Value::string("No")}));
}

TEST_F(RestoreDefaultsTest, NoChangesNothing) {
  const Foundation::Dictionary stored{{"pToggleIsEnabled", Value::boolean(false)}};
  writePrefs(stored);
  controller_->reload();
  const std::vector<std::string> shownBefore = shownKeys(*controller_);
  pressRestore();
  clearEvents();
  tap("No");
  EXPECT_FALSE(alert());
  EXPECT_EQ(readPrefs(), stored);
  EXPECT_EQ(shownKeys(*controller_), shownBefore);
  EXPECT_TRUE(eventsNamed("notify").empty());
  EXPECT_TRUE(eventsNamed("file").empty());
  EXPECT_TRUE(eventsNamed("alert").empty());
}

TEST_F(RestoreDefaultsTest, YesDeletesTheFileThenNotifiesThenOffersARespring) {
  writePrefs(
      {{"pToggleIsEnabled", Value::boolean(false)}, {"pSegmentedButtonSize", Value::integer(3)}});
  controller_->reload();
  ASSERT_EQ(shownKeys(*controller_).size(), 5u);  // the enable switch hides its group
  pressRestore();
  clearEvents();
  tap("Yes");

  EXPECT_FALSE(files().exists(kPrefsPath));
  EXPECT_EQ(eventNames({"file", "notify", "alert"}),
            (std::vector<std::string>{"file", "notify", "alert"}));
  EXPECT_EQ(Foundation::fromEventValue(eventsNamed("file")[0].fields.value("op")),
            Value::string("delete"));
  ASSERT_TRUE(alert());
  EXPECT_EQ(alert()->title(), "Notice");
  EXPECT_EQ(alert()->message(), "Settings restored to default\nPlease respring your device");
  EXPECT_EQ(alertActionTitles(), std::vector<std::string>{"Respring"});
  // Every row shows its default again, the enable switch's group included.
  EXPECT_EQ(shownValue(*controller_, "pToggleIsEnabled"), Value::boolean(true));
  EXPECT_EQ(shownValue(*controller_, "pSegmentedButtonSize"), Value::integer(0));
  EXPECT_EQ(shownKeys(*controller_).size(), controller_->allSpecifiers().size());
}

TEST_F(RestoreDefaultsTest, YesWithoutAFileStillNotifiesAndOffersARespring) {
  pressRestore();
  tap("Yes");
  EXPECT_EQ(eventsNamed("notify").size(), 1u);
  ASSERT_TRUE(alert());
  EXPECT_EQ(alert()->title(), "Notice");
}

TEST_F(RestoreDefaultsTest, AFileThatCannotBeDeletedIsNotReportedAsRestored) {
  const Foundation::Dictionary stored{{"pSegmentedButtonSize", Value::integer(3)}};
  writePrefs(stored);
  files().setRemoveFaultInjectorForTesting(
      [](const std::string& path) { return path == kPrefsPath; });
  pressRestore();
  clearEvents();
  tap("Yes");

  EXPECT_EQ(readPrefs(), stored);
  EXPECT_TRUE(eventsNamed("notify").empty());
  ASSERT_TRUE(alert());
  EXPECT_EQ(alert()->title(), "Error");
  EXPECT_NE(alert()->message().find("could not be restored"), std::string::npos);
  EXPECT_EQ(alertActionTitles(), std::vector<std::string>{"OK"});
  EXPECT_EQ(eventsNamed("syslog").size(), 1u);
  tap("OK");
  EXPECT_TRUE(eventsNamed("spawn").empty());
}

TEST_F(RestoreDefaultsTest, RespringEndsBackboardAndTheHomeScreenStartsAfresh) {
  std::shared_ptr<Process> homeScreen = device().launch("SpringBoard");
  {
    ProcessScope scope(*homeScreen);
    ASSERT_TRUE(SimulatedSpringBoard::finishLaunching());
  }
  const std::uint64_t oldPid = homeScreen->pid();
  homeScreen.reset();
  pressRestore();
  tap("Yes");
  clearEvents();
  tap("Respring");

  const auto spawns = eventsNamed("spawn");
  ASSERT_EQ(spawns.size(), 1u);
  EXPECT_EQ(Foundation::fromEventValue(spawns[0].fields.value("path")),
            Value::string("/usr/bin/killall"));
  EXPECT_EQ(Foundation::fromEventValue(spawns[0].fields.value("argv")),
            Value::array({Value::string("killall"), Value::string("backboardd")}));
  EXPECT_FALSE(alert());
  // The home screen restarts on the device's clock, not inside the tap.
  EXPECT_EQ(device().process("SpringBoard")->pid(), oldPid);
  device_.runFor(0);

  std::shared_ptr<Process> restarted = device().process("SpringBoard");
  ASSERT_TRUE(restarted);
  EXPECT_NE(restarted->pid(), oldPid);
  ProcessScope scope(*restarted);
  auto application =
      std::dynamic_pointer_cast<SimulatedSpringBoard>(UIApplication::sharedApplication());
  ASSERT_TRUE(application);
  EXPECT_TRUE(application->hasFinishedLaunching());
  EXPECT_FALSE(device().process("killall"));
}

TEST_F(RestoreDefaultsTest, DonationLogsAndOpensTheDonationPage) {
  ASSERT_TRUE(PSListControllerUser::userPressedButton(*controller_, "Donate"));
  const auto lines = eventsNamed("syslog");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(Foundation::fromEventValue(lines[0].fields.value("line")),
            Value::string("<VXTweak> donationLink tap"));
  const auto urls = eventsNamed("url");
  ASSERT_EQ(urls.size(), 1u);
  const std::string url = *urls[0].fields.value("url").stringValue();
  EXPECT_TRUE(url.starts_with("https://")) << url;
  device_.runFor(0);  // the completion runs and ignores the outcome
}

}  // namespace
}  // namespace prefs_test

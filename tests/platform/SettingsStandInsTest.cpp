// The stand-ins the settings pane relies on: posix_spawn and the respring it can cause,
// NSURL, alerts, openURL and NSLog.
#include <gtest/gtest.h>

#include <cerrno>

#include "Foundation/NSLog.h"
#include "Foundation/NSURL.h"
#include "SpringBoard/SpringBoard.h"
#include "System/Backboard.h"
#include "System/spawn.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UIAlertControllerPresentation.h"
#include "UIKit/UIApplication.h"
#include "support/ScopedTestDevice.h"

namespace {

class SettingsStandInsTest : public ::testing::Test {
 protected:
  SettingsStandInsTest() {
    token_ =
        device_.device().subscribe([this](const DeviceEvent& event) { events_.push_back(event); });
  }
  ~SettingsStandInsTest() override { device_.device().unsubscribe(token_); }

  std::vector<DeviceEvent> eventsNamed(const std::string& name) const {
    std::vector<DeviceEvent> found;
    for (const auto& event : events_) {
      if (event.name == name) found.push_back(event);
    }
    return found;
  }
  int spawn(const char* path, std::vector<const char*> arguments, pid_t* pid = nullptr) {
    std::vector<char*> argv;
    for (const char* argument : arguments) argv.push_back(const_cast<char*>(argument));
    argv.push_back(nullptr);
    return posix_spawn(pid, path, nullptr, nullptr, argv.data(), nullptr);
  }

  ScopedTestDevice device_{"Preferences"};
  std::vector<DeviceEvent> events_;
  int token_ = 0;
};

TEST_F(SettingsStandInsTest, SpawnRespringsOnlyForKillallOfTheUserInterface) {
  const struct {
    const char* name;
    const char* path;
    std::vector<const char*> argv;
    int result;
    bool respring;
  } cases[] = {
      {"backboardd", "/usr/bin/killall", {"killall", "backboardd"}, 0, true},
      {"with a signal option", "/usr/bin/killall", {"killall", "-9", "backboardd"}, 0, true},
      {"the home screen itself", "/usr/bin/killall", {"killall", "SpringBoard"}, 0, true},
      {"another process", "/usr/bin/killall", {"killall", "Preferences"}, 0, false},
      {"only the program name", "/usr/bin/killall", {"killall"}, 0, false},
      {"another program", "/bin/sh", {"sh", "-c", "killall backboardd"}, ENOENT, false},
      {"a relative path", "killall", {"killall", "backboardd"}, ENOENT, false},
  };
  Backboard& backboard = Backboard::of(device_.device());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    events_.clear();
    const std::uint64_t restartsBefore = backboard.restartCount();
    pid_t pid = -1;
    EXPECT_EQ(spawn(c.path, c.argv, &pid), c.result);
    ASSERT_EQ(eventsNamed("spawn").size(), 1u);
    const EventValue argv = eventsNamed("spawn")[0].fields.value("argv");
    ASSERT_TRUE(argv.listValue());
    EXPECT_EQ(argv.listValue()->size(), c.argv.size());
    EXPECT_EQ(pid > 0, c.result == 0);
    device_.runFor(0);
    EXPECT_EQ(backboard.restartCount() - restartsBefore, c.respring ? 1u : 0u);
    EXPECT_EQ(eventsNamed("respring").size(), c.respring ? 1u : 0u);
    EXPECT_FALSE(device_.device().process("killall"));  // it ended itself
    // The Settings app, which spawned it, ends with the user interface and only then.
    EXPECT_EQ(device_.device().process("Preferences") == nullptr, c.respring);
    if (c.respring) device_.restart();
  }
}

TEST_F(SettingsStandInsTest, ARespringBootsTheHomeScreenTheWayTheDeviceSaysIfSet) {
  int boots = 0;
  Backboard::of(device_.device()).setHomeScreenBoot([&boots](Device& device) {
    ++boots;
    device.restart("SpringBoard");
  });
  EXPECT_EQ(spawn("/usr/bin/killall", {"killall", "backboardd"}), 0);
  EXPECT_EQ(boots, 0);
  device_.runFor(0);
  EXPECT_EQ(boots, 1);
  EXPECT_TRUE(device_.device().process("SpringBoard"));
}

TEST_F(SettingsStandInsTest, FileURLsKeepTheirPath) {
  const struct {
    const char* path;
    const char* text;
  } cases[] = {
      {"/var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist",
       "file:///var/mobile/Library/Preferences/com.zel.gyrowhirlprefs.plist"},
      {"/tmp/a b%c#d?e", "file:///tmp/a%20b%25c%23d%3Fe"},
      {"relative/x", "file:///relative/x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    auto url = NSURL::fileURLWithPath(c.path);
    ASSERT_TRUE(url);
    EXPECT_EQ(url->absoluteString(), c.text);
    EXPECT_TRUE(url->isFileURL());
    const std::string expected = c.path[0] == '/' ? c.path : std::string("/") + c.path;
    EXPECT_EQ(url->path(), expected);
  }
  EXPECT_FALSE(NSURL::fileURLWithPath(""));
}

TEST_F(SettingsStandInsTest, URLWithStringRefusesWhatIsNoURL) {
  EXPECT_EQ(NSURL::URLWithString("https://donate.example.com/x?a=1")->scheme(), "https");
  EXPECT_EQ(NSURL::URLWithString("HTTP://example.com")->scheme(), "http");
  for (const char* text : {"", "https://exa mple.com", "https://example.com/\n", "a\"b"}) {
    EXPECT_FALSE(NSURL::URLWithString(text)) << text;
  }
}

TEST_F(SettingsStandInsTest, OpenURLReportsWhetherAnAppOpensIt) {
  std::vector<bool> outcomes;
  auto application = UIApplication::sharedApplication();
  application->openURL(NSURL::URLWithString("https://example.com"), {},
                       [&](bool ok) { outcomes.push_back(ok); });
  application->openURL(NSURL::URLWithString("mailto:someone@example.com"), {},
                       [&](bool ok) { outcomes.push_back(ok); });
  application->openURL(nullptr, {}, [&](bool ok) { outcomes.push_back(ok); });
  EXPECT_TRUE(outcomes.empty());  // completions run after the call returns
  device_.runFor(0);
  EXPECT_EQ(outcomes, (std::vector<bool>{true, false, false}));
  EXPECT_EQ(eventsNamed("url").size(), 2u);
}

TEST_F(SettingsStandInsTest, AlertTapsDismissBeforeTheHandlerRuns) {
  auto alert = UIAlertController::alertControllerWithTitle("T", "M", UIAlertControllerStyleAlert);
  bool dismissedFirst = false;
  bool dismissed = false;
  EXPECT_TRUE(alert->addAction(
      UIAlertAction::actionWithTitle("Go", UIAlertActionStyleDefault, [&](UIAlertAction&) {
        dismissedFirst = dismissed && !UIAlertControllerPresentation::isPresented(*alert);
      })));
  EXPECT_TRUE(
      alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel, {})));
  EXPECT_FALSE(
      alert->addAction(UIAlertAction::actionWithTitle("Also", UIAlertActionStyleCancel, {})));
  EXPECT_FALSE(
      UIAlertControllerPresentation::tapActionWithTitle(*alert, "Go"));  // not on screen yet
  UIAlertControllerPresentation::didPresent(*alert, [&] { dismissed = true; });
  EXPECT_FALSE(UIAlertControllerPresentation::tapActionWithTitle(*alert, "Nope"));
  EXPECT_TRUE(UIAlertControllerPresentation::tapActionWithTitle(*alert, "Go"));
  EXPECT_TRUE(dismissedFirst);
  EXPECT_FALSE(UIAlertControllerPresentation::tapActionWithTitle(*alert, "Go"));  // gone
}

TEST_F(SettingsStandInsTest, NSLogWritesOneSyslogLine) {
  NSLog("<VXTweak> %s %d", "value", 7);
  NSLogLine(std::string(kNSLogMaxLineBytes + 10, 'x'));
  const auto lines = eventsNamed("syslog");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].fields.value("line"), EventValue::string("<VXTweak> value 7"));
  EXPECT_EQ(lines[1].fields.value("line").stringValue()->size(), kNSLogMaxLineBytes);
}

}  // namespace

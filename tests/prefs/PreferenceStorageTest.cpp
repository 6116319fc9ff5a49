// Reading and writing values in the preferences file, the notification after a write, and a
// write that fails.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Foundation/PropertyList.h"
#include "PaneTestSupport.h"
#include "Preferences/PSListControllerUser.h"

namespace prefs_test {
namespace {

TEST_F(PaneTest, ReadingTakesTheFileEntryElseTheDefault) {
  installRootList({{"pToggleA", -1, "PSSwitchCell", Value::boolean(true)},
                   {"pSliderB", -1, "PSSliderCell", Value::real(2.0)},
                   {"pSliderC", -1, "PSSliderCell"}});
  auto controller = makeController();
  const struct {
    const char* name;
    std::function<void()> prepare;
    Value a, b, c;
  } cases[] = {
      {"no file", [] {}, Value::boolean(true), Value::real(2.0), Value()},
      {"entries",
       [this] {
         writePrefs({{"pToggleA", Value::boolean(false)}, {"pSliderC", Value::real(7)}});
       },
       Value::boolean(false), Value::real(2.0), Value::real(7)},
      {"corrupt file",
       [this] {
         const std::string junk = "<plist><dict><key>pToggleA</key>";
         ASSERT_TRUE(files().writeAtomically(
             kPrefsPath,
             std::span(reinterpret_cast<const std::uint8_t*>(junk.data()), junk.size())));
       },
       Value::boolean(true), Value::real(2.0), Value()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.prepare();
    EXPECT_EQ(shownValue(*controller, "pToggleA"), c.a);
    EXPECT_EQ(shownValue(*controller, "pSliderB"), c.b);
    EXPECT_EQ(shownValue(*controller, "pSliderC"), c.c);
  }
}

TEST_F(PaneTest, WritingOneValueKeepsEveryOtherEntry) {
  installBundle();
  const Foundation::Dictionary before{
      {"pOtherOrigin", Value::dictionary({{"x", Value::real(100.5)}, {"y", Value::real(220)}})},
      {"pSliderDisappearInterval", Value::real(5)},
      {"pMultipleChoiceBlacklistedApps", Value::array({Value::string("com.example.mail")})},
      {"pSomethingElse", Value::string("kept")},
      {"pToggleShouldAnimateFAB", Value::boolean(true)},
  };
  writePrefs(before);
  auto controller = makeController();
  ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, "pToggleShouldAnimateFAB",
                                                     Value::boolean(false)));

  Foundation::Dictionary expected = before;
  expected.set("pToggleShouldAnimateFAB", Value::boolean(false));
  EXPECT_EQ(readPrefs(), expected);
}

// The pane rewrites the whole file through the same reader and writer as the home screen:
// entries it does not own, such as dates far from 2001, come back exactly, from XML and
// binary files alike.
TEST_F(PaneTest, WritingKeepsForeignDatesExactly) {
  installBundle();
  const Foundation::Dictionary before{
      {"installed", Value::date({-6342969600.0})},  // 1800-01-01
      {"far", Value::date({63082281600.0})},        // 4000-01-01
      {"pToggleShouldAnimateFAB", Value::boolean(true)},
  };
  const std::string xml = Foundation::PropertyList::toXML(Value::dictionary(before));
  for (const Foundation::Data& bytes :
       {Foundation::Data(xml.begin(), xml.end()),
        Foundation::PropertyList::toBinary(Value::dictionary(before))}) {
    ASSERT_TRUE(files().writeAtomically(kPrefsPath, bytes));
    auto controller = makeController();
    ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, "pToggleShouldAnimateFAB",
                                                       Value::boolean(false)));
    Foundation::Dictionary expected = before;
    expected.set("pToggleShouldAnimateFAB", Value::boolean(false));
    EXPECT_EQ(readPrefs(), expected);
  }
}

TEST_F(PaneTest, TheFirstWriteCreatesAFileWithJustThatEntry) {
  installBundle();
  auto controller = makeController();
  ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, "pSegmentedButtonSize",
                                                     Value::integer(3)));
  EXPECT_EQ(readPrefs(), (Foundation::Dictionary{{"pSegmentedButtonSize", Value::integer(3)}}));
}

TEST_F(PaneTest, TheFileIsWrittenBeforeTheNotificationAndBothBeforeThePageChanges) {
  installBundle();
  writePrefs({{"pToggleIsEnabled", Value::boolean(true)}});
  ASSERT_TRUE(device().process(PreferencesPaneHost::kSettingsProcessName));
  PreferencesPaneHost host(device().process(PreferencesPaneHost::kSettingsProcessName),
                           kBundlePath);
  ASSERT_TRUE(host.open());
  clearEvents();
  ASSERT_TRUE(host.setValue("pToggleIsEnabled", Value::boolean(false)));
  EXPECT_EQ(eventNames({"file", "notify", "page"}),
            (std::vector<std::string>{"file", "notify", "page"}));
  const auto notes = eventsNamed("notify");
  ASSERT_EQ(notes.size(), 1u);
  EXPECT_EQ(Foundation::fromEventValue(notes[0].fields.value("name")),
            Value::string(kNotification));
  EXPECT_EQ(Foundation::fromEventValue(eventsNamed("file")[0].fields.value("path")),
            Value::string(kPrefsPath));
}

TEST_F(PaneTest, ARowWithoutPostNotificationStoresSilently) {
  installRootList({{"pToggleQuiet", -1, "PSSwitchCell", Value(), /*postsNotification=*/false}});
  auto controller = makeController();
  ASSERT_TRUE(
      PSListControllerUser::userChangedValue(*controller, "pToggleQuiet", Value::boolean(true)));
  EXPECT_EQ(readPrefs().valueForKey("pToggleQuiet"), Value::boolean(true));
  EXPECT_TRUE(eventsNamed("notify").empty());
}

TEST_F(PaneTest, AFailedWriteIsLoggedPostsNothingAndLeavesThePageAsTheFileSays) {
  installBundle();
  writePrefs(
      {{"pToggleIsEnabled", Value::boolean(true)}, {"pSliderDisappearInterval", Value::real(4)}});
  auto controller = makeController();
  const std::vector<std::string> shownBefore = shownKeys(*controller);
  const std::uint64_t redrawsBefore = PSListControllerUser::redrawCount(*controller);
  files().setFaultInjectorForTesting([](DeviceFileSystem::WriteStep step, const std::string&) {
    return step == DeviceFileSystem::WriteStep::Rename;
  });
  clearEvents();

  ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, "pToggleIsEnabled",
                                                     Value::boolean(false)));

  EXPECT_TRUE(eventsNamed("notify").empty());
  const auto lines = eventsNamed("syslog");
  ASSERT_EQ(lines.size(), 1u);
  const std::string line = *lines[0].fields.value("line").stringValue();
  EXPECT_NE(line.find("pToggleIsEnabled"), std::string::npos) << line;
  EXPECT_EQ(shownKeys(*controller), shownBefore);  // the group is still shown
  EXPECT_EQ(shownValue(*controller, "pToggleIsEnabled"), Value::boolean(true));
  EXPECT_GT(PSListControllerUser::redrawCount(*controller), redrawsBefore);
  EXPECT_EQ(readPrefs().valueForKey("pSliderDisappearInterval"), Value::real(4));
}

TEST_F(PaneTest, TheWriteHoldsTheFileCoordinationLock) {
  installBundle();
  auto controller = makeController();
  const std::filesystem::path lockFile =
      files().hostPath("/var/mobile/Library/Preferences/.com.zel.gyrowhirlprefs.plist.lock");
  bool sawWrite = false;
  bool lockHeld = false;
  files().setFaultInjectorForTesting([&](DeviceFileSystem::WriteStep step, const std::string&) {
    if (step != DeviceFileSystem::WriteStep::Rename) return false;
    sawWrite = true;
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
      lockHeld = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
      ::close(fd);
    }
    return false;
  });
  ASSERT_TRUE(PSListControllerUser::userChangedValue(*controller, "pToggleShouldAnimateFAB",
                                                     Value::boolean(false)));
  EXPECT_TRUE(sawWrite);
  EXPECT_TRUE(lockHeld);
}

TEST_F(PaneTest, TheFrameworkOffersOnlyWhatACellTakes) {
  installBundle();
  auto controller = makeController();
  const struct {
    const char* key;
    Value value;
    bool accepted;
    Value stored;
  } cases[] = {
      {"pSegmentedButtonSize", Value::integer(1), false, Value()},
      {"pSegmentedButtonSize", Value::real(2.0), true, Value::integer(2)},
      {"pSegmentedFeedbackStyle", Value::integer(3), true, Value::integer(3)},
      {"pToggleIsEnabled", Value::string("yes"), false, Value()},
      {"pSliderDisappearInterval", Value::real(60), true, Value::real(10)},
      {"pSliderDisappearInterval", Value::real(0), true, Value::real(1)},
      {"pColorPickerFABBgColor", Value::integer(5), false, Value()},
      {"pColorPickerFABBgColor", Value::string("#FF0000:0.5"), true, Value::string("#FF0000:0.5")},
      {"pMultipleChoiceBlacklistedApps", Value::array({}), false, Value()},
      {"pNoSuchKey", Value::boolean(true), false, Value()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.key) + " = " + c.value.description());
    std::remove(files().hostPath(kPrefsPath).c_str());
    std::string error;
    EXPECT_EQ(PSListControllerUser::userChangedValue(*controller, c.key, c.value, &error),
              c.accepted)
        << error;
    EXPECT_EQ(readPrefs().valueForKey(c.key), c.stored);
  }
}

}  // namespace
}  // namespace prefs_test

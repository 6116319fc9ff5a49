// The pane as the Settings app opens it from the installed bundle: the rows the "Root" list
// offers, the page events, and the application picker.
#include <gtest/gtest.h>

#include <map>

#include "AltList/ATLApplicationListSubcontrollerController.h"
#include "PaneTestSupport.h"
#include "Preferences/PSListControllerUser.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIAlertController.h"
#include "gyrowhirlprefs/VXPApplicationsController.h"

namespace prefs_test {
namespace {

class PaneHostTest : public PaneTest {
 protected:
  void SetUp() override {
    installBundle();
    host_ = std::make_unique<PreferencesPaneHost>(
        device().process(PreferencesPaneHost::kSettingsProcessName), kBundlePath);
  }
  void open() {
    std::string error;
    ASSERT_TRUE(host_->open(&error)) << error;
  }
  std::unique_ptr<PreferencesPaneHost> host_;
};

// Each known setting of the tweak, and the value the tweak uses when the file lacks it: the
// page must show that same value while the file is empty.
TEST_F(PaneHostTest, EveryKnownSettingIsOfferedWithTheTweaksOwnFallback) {
  open();
  std::map<std::string, Value> shown;
  for (const auto& row : host_->rows()) shown[row.title] = row.value;
  const std::map<std::string, Value> expected{
      {"pToggleIsEnabled", Value::boolean(true)},
      {"pSliderDisappearInterval", Value::real(2.0)},
      {"pMultipleChoiceBlacklistedApps", Value::array({})},
      {"pColorPickerFABBgColor", Value::string("#FFFFFF:1.0")},
      {"pSegmentedButtonSize", Value::integer(0)},
      {"pSegmentedFeedbackStyle", Value::integer(0)},
      {"pToggleShouldAnimateFAB", Value::boolean(true)},
  };
  for (const auto& [key, value] : expected) {
    SCOPED_TRACE(key);
    ASSERT_TRUE(shown.count(key));
    EXPECT_EQ(shown[key], value);
  }
  EXPECT_TRUE(shown.count("Restore Defaults"));
  EXPECT_TRUE(shown.count("Donate"));
}

TEST_F(PaneHostTest, EveryStoringRowNamesTheSharedFileAndNotification) {
  open();
  auto& controller = static_cast<VXPRootListController&>(*host_->rootController());
  static constexpr const char* kTypeWords[] = {"Toggle", "Segmented",      "ColorPicker",
                                               "Slider", "MultipleChoice", "Other"};
  int storingRows = 0;
  for (const auto& row : controller.allSpecifiers()) {
    const std::string key = row->stringProperty("key");
    if (key.empty()) continue;
    SCOPED_TRACE(key);
    ++storingRows;
    EXPECT_EQ(row->stringProperty("defaults"), "com.zel.gyrowhirlprefs");
    EXPECT_EQ(row->stringProperty("PostNotification"), "com.zel.gyrowhirl.settingschanged");
    ASSERT_TRUE(key.starts_with("p"));
    EXPECT_TRUE(std::any_of(std::begin(kTypeWords), std::end(kTypeWords),
                            [&key](const char* word) { return key.find(word) == 1; }));
  }
  EXPECT_EQ(storingRows, 7);
}

TEST_F(PaneHostTest, ChoicesMatchTheTweaksMeaningOfEachValue) {
  open();
  auto& controller = static_cast<VXPRootListController&>(*host_->rootController());
  // The tweak plays medium for 2 and heavy for 3 (anything else is light), and draws 50, 75
  // and 100 point buttons for sizes 0, 2 and 3.
  const std::map<std::string, std::vector<std::pair<std::int64_t, std::string>>> expected{
      {"pSegmentedFeedbackStyle", {{0, "Light"}, {2, "Medium"}, {3, "Heavy"}}},
      {"pSegmentedButtonSize", {{0, "Small"}, {2, "Medium"}, {3, "Large"}}},
  };
  for (const auto& row : controller.allSpecifiers()) {
    auto it = expected.find(row->stringProperty("key"));
    if (it == expected.end()) continue;
    SCOPED_TRACE(it->first);
    const Foundation::Array* values = row->propertyForKey("validValues").arrayValue();
    const Foundation::Array* titles = row->propertyForKey("validTitles").arrayValue();
    ASSERT_TRUE(values && titles);
    ASSERT_EQ(values->size(), it->second.size());
    ASSERT_EQ(titles->size(), it->second.size());
    for (std::size_t i = 0; i < values->size(); ++i) {
      EXPECT_EQ((*values)[i].longLongValue(), it->second[i].first);
      EXPECT_EQ(*(*titles)[i].stringValue(), it->second[i].second);
    }
  }
}

TEST_F(PaneHostTest, PageEventsFollowOpeningAndEachChange) {
  open();
  const auto opened = eventsNamed("page");
  ASSERT_EQ(opened.size(), 1u);
  const Value page = Foundation::fromEventValue(opened[0].fields.value("rows"));
  const Foundation::Array* rows = page.arrayValue();
  ASSERT_TRUE(rows);
  EXPECT_EQ(rows->size(), 14u);
  EXPECT_EQ((*rows)[1], Value::dictionary({{"row", Value::string("pToggleIsEnabled")},
                                           {"value", Value::boolean(true)}}));
  EXPECT_EQ((*rows)[12], Value::dictionary({{"row", Value::string("Restore Defaults")}}));

  ASSERT_TRUE(host_->setValue("pToggleIsEnabled", Value::boolean(false)));
  const auto changed = eventsNamed("page");
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(changed[1].fields.value("rows").listValue()->size(), 5u);

  std::string error;
  EXPECT_FALSE(host_->setValue("pSegmentedButtonSize", Value::integer(2), &error));  // hidden
  EXPECT_FALSE(host_->tapAlertAction("Yes", &error));
  EXPECT_EQ(eventsNamed("page").size(), 2u);  // nothing changed, nothing emitted
}

TEST_F(PaneHostTest, RestoreAndRespringThroughTheHost) {
  open();
  ASSERT_TRUE(host_->pressButton("Restore Defaults"));
  ASSERT_TRUE(host_->visibleAlert());
  ASSERT_TRUE(host_->tapAlertAction("Yes"));
  ASSERT_TRUE(host_->visibleAlert());
  EXPECT_EQ(host_->visibleAlert()->title(), "Notice");
  ASSERT_TRUE(host_->tapAlertAction("Respring"));
  EXPECT_FALSE(host_->visibleAlert());
  EXPECT_EQ(eventsNamed("spawn").size(), 1u);
}

TEST_F(PaneHostTest, OpeningNeedsTheBundleAndItsClasses) {
  PreferencesPaneHost missing(device().process(PreferencesPaneHost::kSettingsProcessName),
                              "/Library/PreferenceBundles/none.bundle");
  std::string error;
  EXPECT_FALSE(missing.open(&error));
  EXPECT_NE(error.find("no preference bundle"), std::string::npos) << error;
  EXPECT_TRUE(missing.rows().empty());
}

class PickerTest : public PaneHostTest {
 protected:
  void SetUp() override {
    PaneHostTest::SetUp();
    HomeScreenState& home = HomeScreenState::of(device());
    for (const char* id : {"com.example.maps", "com.example.mail", "com.example.camera"}) {
      ASSERT_TRUE(home.installApplication(id));
    }
    open();
  }
  Value storedChoice() { return readPrefs().valueForKey("pMultipleChoiceBlacklistedApps"); }
};

TEST_F(PickerTest, PickingStoresOneArrayAndNotifies) {
  writePrefs({{"pOtherOrigin", Value::dictionary({{"x", Value::real(3)}, {"y", Value::real(4)}})}});
  clearEvents();
  std::string error;
  ASSERT_TRUE(
      host_->pickApplications({"com.example.mail", "com.example.maps", "com.example.mail"}, &error))
      << error;
  EXPECT_EQ(storedChoice(),
            Value::array({Value::string("com.example.mail"), Value::string("com.example.maps")}));
  EXPECT_TRUE(readPrefs().contains("pOtherOrigin"));
  EXPECT_EQ(eventNames({"file", "notify"}), (std::vector<std::string>{"file", "notify"}));
  EXPECT_EQ(Foundation::fromEventValue(eventsNamed("notify")[0].fields.value("name")),
            Value::string(kNotification));
  // The root page shows the choice on the picker's row.
  Value shown;
  for (const auto& row : host_->rows()) {
    if (row.title == "pMultipleChoiceBlacklistedApps") shown = row.value;
  }
  EXPECT_EQ(shown, storedChoice());

  ASSERT_TRUE(host_->pickApplications({}, &error)) << error;
  EXPECT_EQ(storedChoice(), Value::array({}));
}

TEST_F(PickerTest, AnApplicationThatIsNotInstalledCannotBePicked) {
  std::string error;
  EXPECT_FALSE(host_->pickApplications({"com.example.maps", "com.example.absent"}, &error));
  EXPECT_NE(error.find("com.example.absent"), std::string::npos) << error;
  EXPECT_FALSE(files().exists(kPrefsPath));
  EXPECT_TRUE(eventsNamed("notify").empty());
}

TEST_F(PickerTest, ThePickerPageListsInstalledAppsAsSwitches) {
  auto& root = *host_->rootController();
  ProcessScope scope(*device().process(PreferencesPaneHost::kSettingsProcessName));
  auto picker = std::dynamic_pointer_cast<VXPApplicationsController>(
      PSListControllerUser::userOpenedDetail(root, "Blacklisted Apps"));
  ASSERT_TRUE(picker);
  EXPECT_EQ(shownKeys(*picker), (std::vector<std::string>{"com.example.maps", "com.example.mail",
                                                          "com.example.camera"}));
  ASSERT_TRUE(
      PSListControllerUser::userChangedValue(*picker, "com.example.camera", Value::boolean(true)));
  ASSERT_TRUE(
      PSListControllerUser::userChangedValue(*picker, "com.example.maps", Value::boolean(true)));
  EXPECT_EQ(shownValue(*picker, "com.example.camera"), Value::boolean(true));
  EXPECT_EQ(shownValue(*picker, "com.example.mail"), Value::boolean(false));
  EXPECT_EQ(storedChoice(),
            Value::array({Value::string("com.example.camera"), Value::string("com.example.maps")}));
  ASSERT_TRUE(
      PSListControllerUser::userChangedValue(*picker, "com.example.camera", Value::boolean(false)));
  EXPECT_EQ(storedChoice(), Value::array({Value::string("com.example.maps")}));
}

}  // namespace
}  // namespace prefs_test

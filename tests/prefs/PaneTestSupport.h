// A simulated device with the Settings process current and the settings bundle installed
// from the source tree (or with a specifier list of the test's own), plus the device events
// the pane causes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/DeviceFileSystem.h"
#include "Foundation/EventValueConversion.h"
#include "Foundation/NSBundle.h"
#include "Foundation/NSFileManager.h"
#include "Foundation/PropertyList.h"
#include "Preferences/PSListControllerUser.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "gyrowhirlprefs/VXPRootListController.h"
#include "support/ScopedTestDevice.h"

namespace prefs_test {

inline constexpr const char* kBundlePath = "/Library/PreferenceBundles/gyrowhirlprefs.bundle";
inline constexpr const char* kPrefsPath = VXPRootListController::kPreferencesFilePath;
inline constexpr const char* kDomain = "com.zel.gyrowhirlprefs";
inline constexpr const char* kNotification = "com.zel.gyrowhirl.settingschanged";

using Foundation::Value;

// One row of a specifier list made by a test.
struct TestRow {
  TestRow(const char* key, int nestedEntryCount = -1, std::string cell = "PSSwitchCell",
          Value defaultValue = Value(), bool postsNotification = true,
          Foundation::Array validValues = {})
      : key(key),
        nestedEntryCount(nestedEntryCount),
        cell(std::move(cell)),
        defaultValue(std::move(defaultValue)),
        postsNotification(postsNotification),
        validValues(std::move(validValues)) {}

  std::string key;
  int nestedEntryCount;  // -1: no "nestedEntryCount"
  std::string cell;
  Value defaultValue;  // null: no "default"
  bool postsNotification;
  Foundation::Array validValues;
};

inline Foundation::Dictionary rowEntry(const TestRow& row) {
  Foundation::Dictionary entry{{"cell", Value::string(row.cell)},
                               {"label", Value::string(row.key)},
                               {"key", Value::string(row.key)},
                               {"defaults", Value::string(kDomain)}};
  if (row.postsNotification) entry.set("PostNotification", Value::string(kNotification));
  if (row.nestedEntryCount != -1) {
    entry.set("nestedEntryCount", Value::integer(row.nestedEntryCount));
  }
  if (!row.defaultValue.isNull()) entry.set("default", row.defaultValue);
  if (!row.validValues.empty()) entry.set("validValues", Value::array(row.validValues));
  return entry;
}

inline std::vector<std::uint8_t> hostFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PaneTest : public ::testing::Test {
 protected:
  PaneTest() {
    token_ =
        device_.device().subscribe([this](const DeviceEvent& event) { events_.push_back(event); });
  }
  ~PaneTest() override { device_.device().unsubscribe(token_); }

  Device& device() { return device_.device(); }
  DeviceFileSystem& files() { return device_.device().fileSystem(); }

  // The bundle as the source tree has it.
  void installBundle() {
    const std::filesystem::path resources =
        std::filesystem::path(GW_SOURCE_DIR) / "gyrowhirlprefs" / "Resources";
    for (const char* name : {"Info.plist", "Root.plist"}) {
      ASSERT_TRUE(files().writeAtomically(std::string(kBundlePath) + "/" + name,
                                          hostFileBytes(resources / name)));
    }
  }
  // A bundle whose "Root" list holds the rows given.
  void installRootList(const std::vector<TestRow>& rows) {
    Foundation::Array items;
    for (const auto& row : rows) items.push_back(Value::dictionary(rowEntry(row)));
    const std::string xml = Foundation::PropertyList::toXML(
        Value::dictionary(Foundation::Dictionary{{"items", Value::array(std::move(items))}}));
    const auto* begin = reinterpret_cast<const std::uint8_t*>(xml.data());
    ASSERT_TRUE(files().writeAtomically(std::string(kBundlePath) + "/Root.plist",
                                        std::span(begin, xml.size())));
  }

  std::shared_ptr<VXPRootListController> makeController() {
    auto controller = std::make_shared<VXPRootListController>();
    controller->setBundle(NSBundle::bundleWithPath(kBundlePath));
    return controller;
  }

  void writePrefs(const Foundation::Dictionary& entries) {
    ASSERT_TRUE(NSDictionary::writeToFile(entries, kPrefsPath, true));
  }
  Foundation::Dictionary readPrefs() {
    return NSDictionary::dictionaryWithContentsOfFile(kPrefsPath)
        .value_or(Foundation::Dictionary{});
  }

  static std::vector<std::string> titles(const std::vector<PSListControllerUser::Row>& rows) {
    std::vector<std::string> result;
    for (const auto& row : rows) result.push_back(row.title);
    return result;
  }
  static std::vector<std::string> shownKeys(PSListController& controller) {
    return titles(PSListControllerUser::rowsShown(controller));
  }
  static Value shownValue(PSListController& controller, const std::string& title) {
    for (const auto& row : PSListControllerUser::rowsShown(controller)) {
      if (row.title == title) return row.value;
    }
    return {};
  }

  // The names of the events seen so far, those named in `wanted` only.
  std::vector<std::string> eventNames(const std::vector<std::string>& wanted) const {
    std::vector<std::string> names;
    for (const auto& event : events_) {
      if (std::find(wanted.begin(), wanted.end(), event.name) != wanted.end()) {
        names.push_back(event.name);
      }
    }
    return names;
  }
  std::vector<DeviceEvent> eventsNamed(const std::string& name) const {
    std::vector<DeviceEvent> found;
    for (const auto& event : events_) {
      if (event.name == name) found.push_back(event);
    }
    return found;
  }
  void clearEvents() { events_.clear(); }

  ScopedTestDevice device_{PreferencesPaneHost::kSettingsProcessName};
  std::vector<DeviceEvent> events_;
  int token_ = 0;
};

}  // namespace prefs_test

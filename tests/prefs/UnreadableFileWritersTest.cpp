// Every writer of the settings pane changes one entry of the preferences file and writes the
// whole file back. When the file is there but cannot be read, each must refuse rather than
// replace it by a file holding just its one entry: nothing is written, nothing is posted, and
// the refusal is logged to the system log.
#include <gtest/gtest.h>

#include <functional>

#include "PaneTestSupport.h"
#include "Preferences/PSListControllerUser.h"
#include "SpringBoard/HomeScreenState.h"
#include "support/UnreadablePreferencesFile.h"

namespace prefs_test {
namespace {

class UnreadableFileWritersTest : public PaneTest {
 protected:
  void SetUp() override {
    installBundle();
    for (const char* id : {"com.example.maps", "com.example.mail"}) {
      ASSERT_TRUE(HomeScreenState::of(device()).installApplication(id));
    }
    host_ = std::make_unique<PreferencesPaneHost>(
        device().process(PreferencesPaneHost::kSettingsProcessName), kBundlePath);
    std::string error;
    ASSERT_TRUE(host_->open(&error)) << error;
  }
  std::unique_ptr<PreferencesPaneHost> host_;
};

TEST_F(UnreadableFileWritersTest, AFileThatCannotBeReadIsNeverReplaced) {
  const struct {
    const char* name;
    std::function<void(PreferencesPaneHost&)> change;
  } writers[] = {
      {"a switch of the pane",
       [](PreferencesPaneHost& host) {
         PSListControllerUser::userChangedValue(*host.rootController(), "pToggleIsEnabled",
                                                Value::boolean(true));
       }},
      {"the colour of the pane",
       [](PreferencesPaneHost& host) {
         PSListControllerUser::userChangedValue(*host.rootController(), "pColorPickerFABBgColor",
                                                Value::string("#FF0000:0.5"));
       }},
      {"the application picker",
       [](PreferencesPaneHost& host) {
         std::string error;
         EXPECT_FALSE(host.pickApplications({"com.example.maps"}, &error));
       }},
  };
  const std::filesystem::path file = files().hostPath(kPrefsPath);
  for (const auto& kind : test_support::kUnreadableKinds) {
    for (const auto& writer : writers) {
      SCOPED_TRACE(std::string(writer.name) + ", file " + kind.name);
      std::filesystem::remove(file);
      std::filesystem::create_directories(file.parent_path());
      if (!kind.make(file)) continue;
      const auto before = test_support::FileIdentity::of(file);
      clearEvents();

      writer.change(*host_);

      EXPECT_EQ(test_support::FileIdentity::of(file), before);
      EXPECT_TRUE(eventsNamed("file").empty());
      EXPECT_TRUE(eventsNamed("notify").empty());
      EXPECT_EQ(eventsNamed("syslog").size(), 1u);
    }
  }
}

}  // namespace
}  // namespace prefs_test

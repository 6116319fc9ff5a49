// The two writers of the preferences file at once, each in its own OS process: the home
// screen's drag-end save (the tweak library, in the helper program gw_drag_end_writer) and the
// settings pane's value write (VXPRootListController, in a forked copy of this test). Each
// writes 1,000 times as fast as it can, through the cross-process file coordination both take.
// Each writer counts up a value that only it writes (the pane a setting, the tweak the button
// position), and before each write checks that the file still holds its previous value: a lost
// update is a value put back by the other writer, and it stays in the file until the owner's
// next write, so every loss is seen. At the end both last values and the file's other entries
// are there.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "Device/Device.h"
#include "Device/Process.h"
#include "Device/TemporaryFolder.h"
#include "Foundation/NSFileManager.h"
#include "Preferences/PSSpecifier.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "gyrowhirlprefs/VXPRootListController.h"

namespace {

using Foundation::Dictionary;
using Foundation::Value;

constexpr int kWritesPerProcess = 1000;
constexpr const char* kPrefsPath = VXPRootListController::kPreferencesFilePath;

constexpr const char* kCounterKey = "pSliderPaneCounter";

// The pane's side, in a forked process: waits for the gate, then stores 1, 2, ... under its
// counter setting, each time first checking that the file holds the value it stored last.
// Exit status 0 when no update was lost.
[[noreturn]] void runPaneWriter(const std::filesystem::path& root, int gate) {
  char byte;
  while (::read(gate, &byte, 1) < 0 && errno == EINTR) {
  }
  std::shared_ptr<Device> device = Device::create(root);
  std::shared_ptr<Process> settings = device->launch(PreferencesPaneHost::kSettingsProcessName);
  int lost = 0;
  {
    ProcessScope scope(*settings);
    auto controller = std::make_shared<VXPRootListController>();
    auto row = PSSpecifier::specifierWithProperties(Dictionary{
        {"cell", Value::string("PSSliderCell")},
        {"key", Value::string(kCounterKey)},
        {"defaults", Value::string("com.zel.gyrowhirlprefs")},
        {"PostNotification", Value::string("com.zel.gyrowhirl.settingschanged")},
    });
    for (int i = 1; i <= kWritesPerProcess; ++i) {
      const std::optional<Dictionary> file = NSDictionary::dictionaryWithContentsOfFile(kPrefsPath);
      const std::int64_t stored = file ? file->valueForKey(kCounterKey).longLongValue() : -1;
      if (stored != i - 1) {
        std::fprintf(stderr, "before pane write %d the file holds %lld: a write was lost\n", i,
                     static_cast<long long>(stored));
        ++lost;
      }
      controller->setPreferenceValue(Value::integer(i), row);
    }
  }
  settings.reset();
  device->terminate(PreferencesPaneHost::kSettingsProcessName);
  ::_exit(lost == 0 ? 0 : 1);
}

int waitForExit(pid_t child) {
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(ConcurrentWritersTest, DragEndSavesAndPaneWritesFromTwoProcessesLoseNothing) {
#ifndef GW_DRAG_END_WRITER
  GTEST_SKIP() << "the helper program gw_drag_end_writer is not part of this build";
#else
  // Shared by the processes of the test; in memory, as every atomic write flushes its file.
  TemporaryFolder root("gyrowhirl-writers-", TemporaryFolder::Placement::Memory);
  ASSERT_TRUE(root.valid());
  const Dictionary initial{{"pToggleIsEnabled", Value::boolean(true)},
                           {"pColorPickerFABBgColor", Value::string("#3A7BD5:0.85")},
                           {kCounterKey, Value::integer(0)}};
  {
    std::shared_ptr<Device> device = Device::create(root.path());
    std::shared_ptr<Process> setup = device->launch("setup");
    ProcessScope scope(*setup);
    ASSERT_TRUE(NSDictionary::writeToFile(initial, kPrefsPath, true));
  }

  int gate[2];
  ASSERT_EQ(::pipe(gate), 0);
  const pid_t tweak = ::fork();
  ASSERT_GE(tweak, 0);
  if (tweak == 0) {
    ::close(gate[1]);
    ::execl(GW_DRAG_END_WRITER, GW_DRAG_END_WRITER, root.path().c_str(),
            std::to_string(kWritesPerProcess).c_str(), std::to_string(gate[0]).c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const pid_t pane = ::fork();
  ASSERT_GE(pane, 0);
  if (pane == 0) {
    ::close(gate[1]);
    runPaneWriter(root.path(), gate[0]);
  }
  // Both start when the gate closes; the helper has loaded the library by then or soon after.
  ::close(gate[0]);
  ::close(gate[1]);
  EXPECT_EQ(waitForExit(tweak), 0) << "a drag-end save was lost (see the messages above)";
  EXPECT_EQ(waitForExit(pane), 0) << "a pane write was lost (see the messages above)";

  std::shared_ptr<Device> device = Device::create(root.path());
  std::shared_ptr<Process> reader = device->launch("reader");
  ProcessScope scope(*reader);
  const std::optional<Dictionary> file = NSDictionary::dictionaryWithContentsOfFile(kPrefsPath);
  ASSERT_TRUE(file);
  Dictionary expected = initial;
  expected.set(kCounterKey, Value::integer(kWritesPerProcess));
  expected.set("pOtherOrigin", Value::dictionary({{"x", Value::real(kWritesPerProcess)},
                                                  {"y", Value::real(kWritesPerProcess)}}));
  EXPECT_EQ(*file, expected);
#endif
}

}  // namespace

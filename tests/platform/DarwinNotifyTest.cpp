#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Device/Device.h"
#include "Device/Process.h"
#include "Dispatch/dispatch.h"
#include "support/ScopedTestDevice.h"

namespace {

const std::string kSettingsChanged = "com.zel.gyrowhirl.settingschanged";

// The observer pointer handed to the centre; the callback records into it.
struct Recorder {
  struct Call {
    std::string name;
    std::string process;
    double time;
    bool nullObjectAndUserInfo;
  };
  std::vector<Call> calls;
  bool posterTaskFinished = false;
  bool finishedBeforeDelivery = false;
};

void record(CFNotificationCenterRef, void* observer, const std::string& name, const void* object,
            CFDictionaryRef userInfo) {
  auto* recorder = static_cast<Recorder*>(observer);
  recorder->finishedBeforeDelivery = recorder->posterTaskFinished;
  recorder->calls.push_back({name, Process::current().name(), Device::current().now(),
                             object == nullptr && userInfo == nullptr});
}

void post(const std::string& name) {
  static const Foundation::Dictionary kIgnoredUserInfo{{"x", Foundation::Value::integer(1)}};
  static const int kIgnoredObject = 0;
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name,
                                       &kIgnoredObject, &kIgnoredUserInfo, true);
}

void observe(Recorder& recorder, const std::string& name) {
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &recorder, record,
                                  name, nullptr, CFNotificationSuspensionBehaviorCoalesce);
}

TEST(DarwinNotifyTest, DeliveredAsynchronouslyOnTheObservingProcessesRunLoop) {
  ScopedTestDevice device;  // SpringBoard is current
  Recorder recorder;
  observe(recorder, kSettingsChanged);
  auto settings = device.device().launch("Preferences");
  device.runFor(1.25);
  {
    ProcessScope scope(*settings);
    dispatch_async(dispatch_get_main_queue(), [&] {
      post(kSettingsChanged);
      post("some.other.name");
      recorder.posterTaskFinished = true;
    });
  }
  device.device().runPending();
  ASSERT_EQ(recorder.calls.size(), 1u);
  EXPECT_TRUE(recorder.finishedBeforeDelivery) << "never inside the poster's task";
  EXPECT_EQ(recorder.calls[0].name, kSettingsChanged);
  EXPECT_EQ(recorder.calls[0].process, "SpringBoard");
  EXPECT_EQ(recorder.calls[0].time, 1.25) << "at the virtual time of the post";
  EXPECT_TRUE(recorder.calls[0].nullObjectAndUserInfo);
}

TEST(DarwinNotifyTest, EveryObservingProcessGetsItsOwnDelivery) {
  ScopedTestDevice device;
  Recorder springBoard, settingsRecorder;
  observe(springBoard, kSettingsChanged);
  auto settings = device.device().launch("Preferences");
  CFNotificationCenterRef settingsCenter = nullptr;
  {
    ProcessScope scope(*settings);
    observe(settingsRecorder, kSettingsChanged);
    observe(settingsRecorder, kSettingsChanged);  // twice: two calls
    settingsCenter = CFNotificationCenterGetDarwinNotifyCenter();
  }
  EXPECT_EQ(settingsCenter, CFNotificationCenterGetDarwinNotifyCenter()) << "one per device";
  post(kSettingsChanged);
  EXPECT_TRUE(springBoard.calls.empty());
  device.device().runPending();
  ASSERT_EQ(springBoard.calls.size(), 1u);
  ASSERT_EQ(settingsRecorder.calls.size(), 2u);
  EXPECT_EQ(settingsRecorder.calls[0].process, "Preferences");
}

TEST(DarwinNotifyTest, NothingReachesEndedProcessesOrRemovedObservers) {
  struct Case {
    const char* label;
    bool endBeforePost;  // otherwise between post and delivery
    bool removeInsteadOfEnding;
  };
  const std::vector<Case> cases = {
      {"process ended before the post", true, false},
      {"process ended with a delivery pending", false, false},
      {"observer removed before the post", true, true},
      {"observer removed with a delivery pending", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScopedTestDevice device;
    Recorder recorder;
    auto settings = device.device().launch("Preferences");
    {
      ProcessScope scope(*settings);
      observe(recorder, kSettingsChanged);
    }
    auto stop = [&] {
      if (c.removeInsteadOfEnding) {
        ProcessScope scope(*settings);
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(),
                                                &recorder);
      } else {
        device.device().restart("Preferences");
      }
    };
    if (c.endBeforePost) stop();
    post(kSettingsChanged);
    if (!c.endBeforePost) stop();
    device.runFor(1.0);
    EXPECT_TRUE(recorder.calls.empty());
  }
}

TEST(DarwinNotifyTest, RemovingAnObserverOnlyAffectsTheCallingProcess) {
  ScopedTestDevice device;
  Recorder shared;  // the same observer pointer registered from two processes
  observe(shared, kSettingsChanged);
  auto settings = device.device().launch("Preferences");
  {
    ProcessScope scope(*settings);
    observe(shared, kSettingsChanged);
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &shared);
  }
  post(kSettingsChanged);
  device.device().runPending();
  ASSERT_EQ(shared.calls.size(), 1u);
  EXPECT_EQ(shared.calls[0].process, "SpringBoard");
}

TEST(DarwinNotifyTest, EachPostIsEmittedAsANotifyEvent) {
  ScopedTestDevice device;
  std::vector<DeviceEvent> events;
  device.device().subscribe([&](const DeviceEvent& event) { events.push_back(event); });
  device.runFor(3.0);
  post(kSettingsChanged);  // emitted even with no observer
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].name, "notify");
  EXPECT_EQ(events[0].time, 3.0);
  EXPECT_EQ(events[0].fields, (EventFields{{"name", EventValue::string(kSettingsChanged)}}));
}

TEST(DarwinNotifyTest, DevicesDoNotShareACentre) {
  ScopedTestDevice first;
  Recorder recorder;
  observe(recorder, kSettingsChanged);
  CFNotificationCenterRef firstCenter = CFNotificationCenterGetDarwinNotifyCenter();
  {
    ScopedTestDevice second;
    EXPECT_NE(CFNotificationCenterGetDarwinNotifyCenter(), firstCenter);
    post(kSettingsChanged);
    second.device().runPending();
  }
  first.device().runPending();
  EXPECT_TRUE(recorder.calls.empty());
}

}  // namespace

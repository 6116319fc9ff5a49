#include "sim/SimulationRunner.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "CoreFoundation/CFNotificationCenter.h"
#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/Process.h"
#include "Foundation/NSFileManager.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SpringBoard.h"
#include "VXCommon/VXLogger.h"
#include "VXCommon/VXMotionHelper.h"
#include "sim/DeviceSetup.h"
#include "sim/OrientationRecorder.h"
#include "sim/TemporaryFolder.h"
#include "sim/Timeline.h"
#include "sim/TouchPerformer.h"
#include "sim/TraceReader.h"

namespace sim {
namespace {

// Device events whose name and fields are already those of the timeline.
constexpr std::array<std::string_view, 9> kPassedThroughEvents = {
    "orientation", "lock", "notify", "file", "haptic", "alert", "spawn", "url", "syslog"};

// The motion helper the simulator starts in the home-screen process, with its recording
// delegate. Kept per process, so a respring drops them with the old process.
struct MotionSampling {
  std::shared_ptr<OrientationRecorder> recorder;
  std::shared_ptr<VXMotionHelper> helper;
};
const ProcessLocal<MotionSampling> motionSampling;

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::optional<std::string_view> unsupportedActionName(const Action& action) {
  return std::visit(
      Overloaded{
          [](const SettingsOpenAction&) -> std::optional<std::string_view> {
            return "settings open";
          },
          [](const SettingsCloseAction&) -> std::optional<std::string_view> {
            return "settings close";
          },
          [](const SettingsSetAction&) -> std::optional<std::string_view> {
            return "settings set";
          },
          [](const SettingsPressAction&) -> std::optional<std::string_view> {
            return "settings press";
          },
          [](const SettingsPickAction&) -> std::optional<std::string_view> {
            return "settings pick";
          },
          [](const AlertAction&) -> std::optional<std::string_view> { return "alert"; },
          [](const auto&) -> std::optional<std::string_view> { return std::nullopt; },
      },
      action);
}

}  // namespace

SimulationRunner::SimulationRunner(SimulationOptions options, Timeline& timeline)
    : options_(std::move(options)), timeline_(timeline) {}

SimulationRunner::~SimulationRunner() {
  stop();
}

Scenario SimulationRunner::defaultReplayScenario() {
  Scenario scenario;
  scenario.apps.push_back(AppSetup{kDefaultReplayAppBundleId, 4, 0});
  scenario.actions.push_back(TimedAction{0, 0, BootAction{}});
  scenario.actions.push_back(TimedAction{0, 0, FrontAction{kDefaultReplayAppBundleId, 1}});
  scenario.actions.push_back(TimedAction{0, 0, OrientationLockAction{true}});
  return scenario;
}

std::optional<std::string> SimulationRunner::unsupportedAction(const Scenario& scenario) {
  for (const auto& timed : scenario.actions) {
    if (auto name = unsupportedActionName(timed.action)) {
      return scenario.fileName + ":" + std::to_string(timed.line) + ": '" + std::string(*name) +
             "' is not available in this version of the simulator";
    }
  }
  return std::nullopt;
}

SimulationRunner::Outcome SimulationRunner::start(const Scenario& scenario) {
  std::filesystem::path root;
  if (options_.deviceRoot) {
    root = *options_.deviceRoot;
  } else {
    temporaryRoot_ = std::make_unique<TemporaryFolder>("gyrowhirl-sim-");
    if (!temporaryRoot_->valid()) {
      return {Status::Failed, "cannot make a temporary folder for the device"};
    }
    root = temporaryRoot_->path();
  }
  std::error_code error;
  std::filesystem::create_directories(root, error);
  if (!std::filesystem::is_directory(root, error)) {
    return {Status::Failed, "cannot use '" + root.string() + "' as the device root"};
  }
  device_ = Device::create(root);
  hand_ = device_->launch(kHandProcessName);

  std::string setupError;
  if (!DeviceSetup::apply(*device_, *hand_, scenario, setupError)) {
    return {Status::Failed, setupError};
  }
  touches_ = std::make_unique<TouchPerformer>(*device_, hand_, timeline_);
  // Subscribed after the set-up: files written to prepare the device are not part of the run.
  subscription_ = device_->subscribe([this](const DeviceEvent& event) { onDeviceEvent(event); });
  if (options_.logLines) {
    // The logger's sink belongs to a process, so each process gets it as it starts (a
    // respring's new home-screen process too), before any library is loaded into it.
    Device* device = device_.get();
    device_->addLaunchObserver([this, device](Process& process) {
      ProcessScope scope(process);
      VXLogger::setSinkForTesting([this, device](std::string_view line) {
        timeline_.record(
            device->now(), "log",
            Foundation::Dictionary{{"line", Foundation::Value::string(std::string(line))}});
      });
    });
  }
  return {};
}

void SimulationRunner::stop() {
  if (!device_) return;
  device_->unsubscribe(subscription_);
  subscription_ = 0;
  touches_.reset();
  // Processes end while the device still exists, so their per-process state (the motion
  // helper, windows) is torn down with a device to talk to.
  device_->terminate(kHomeScreenProcessName);
  hand_.reset();
  device_->terminate(kHandProcessName);
  device_.reset();
  temporaryRoot_.reset();
}

void SimulationRunner::onDeviceEvent(const DeviceEvent& event) {
  if (event.name == "view") {
    const Foundation::Value* className = event.fields.find("class");
    const Foundation::Value* op = event.fields.find("op");
    if (!className || !className->stringValue() ||
        *className->stringValue() != TouchPerformer::kButtonClassName || !op ||
        !op->stringValue()) {
      return;
    }
    if (*op->stringValue() == "added") {
      Foundation::Dictionary fields{{"state", Foundation::Value::string("shown")}};
      for (const char* key : {"x", "y", "w", "h"}) fields.set(key, event.fields.valueForKey(key));
      touches_->noteButtonFrame(CGRectMake(event.fields.valueForKey("x").doubleValue(),
                                           event.fields.valueForKey("y").doubleValue(),
                                           event.fields.valueForKey("w").doubleValue(),
                                           event.fields.valueForKey("h").doubleValue()));
      timeline_.record(event.time, "button", std::move(fields));
    } else if (*op->stringValue() == "removed") {
      timeline_.record(event.time, "button",
                       Foundation::Dictionary{{"state", Foundation::Value::string("removed")}});
    }
    return;
  }
  if (std::find(kPassedThroughEvents.begin(), kPassedThroughEvents.end(), event.name) !=
      kPassedThroughEvents.end()) {
    timeline_.record(event.time, event.name, event.fields);
  }
}

void SimulationRunner::boot() {
  std::shared_ptr<Process> springBoard = device_->launch(kHomeScreenProcessName);
  timeline_.record(device_->now(), "boot");
  ProcessScope scope(*springBoard);
  SpringBoard::finishLaunching();
  startMotionSampling();
}

void SimulationRunner::startMotionSampling() {
  // Stands in for the tweak manager's start-up until the tweak library starts itself: the
  // same helper, run once the home screen has finished launching, reporting to a recorder.
  MotionSampling& sampling = motionSampling.get();
  sampling.recorder = std::make_shared<OrientationRecorder>(*device_);
  sampling.helper = VXMotionHelper::initWithDelegate(sampling.recorder);
  sampling.helper->run();
}

void SimulationRunner::postSettingsChanged() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       kSettingsChangedNotification, nullptr, nullptr,
                                       /*deliverImmediately=*/true);
}

void SimulationRunner::writePreference(const std::string& key, const Foundation::Value& value) {
  // As the settings pane does: a coordinated read-modify-write of the whole file, replaced
  // atomically, then the system-wide notification. A write that fails posts nothing.
  bool written = false;
  NSFileCoordinator::coordinateWritingItemAtPath(DeviceSetup::kPreferencesPath, [&] {
    Foundation::Dictionary entries =
        NSDictionary::dictionaryWithContentsOfFile(DeviceSetup::kPreferencesPath)
            .value_or(Foundation::Dictionary{});
    entries.set(key, value);
    written = NSDictionary::writeToFile(entries, DeviceSetup::kPreferencesPath, true);
  });
  if (written) postSettingsChanged();
}

void SimulationRunner::deletePreferences() {
  // A missing file counts as deleted: the notification is posted either way.
  NSFileManager::defaultManager().removeItemAtPath(DeviceSetup::kPreferencesPath);
  postSettingsChanged();
}

void SimulationRunner::perform(const Action& action) {
  ProcessScope scope(*hand_);
  HomeScreenState& home = HomeScreenState::of(*device_);
  std::visit(Overloaded{
                 [&](const BootAction&) { boot(); },
                 [&](const RespringAction&) {
                   device_->terminate(kHomeScreenProcessName);
                   boot();
                 },
                 [&](const FrontAction& a) { home.setFrontApplication(a.bundleId, a.orientation); },
                 [&](const HomeAction&) { home.showHomeScreen(); },
                 [&](const DeviceLockAction& a) { home.setDeviceLocked(a.on); },
                 [&](const OrientationLockAction& a) {
                   home.setOrientationLocked(a.on, OrientationLockActor::User);
                 },
                 [&](const AttitudeAction& a) {
                   MotionHardware::of(*device_).setAttitude(a.roll, a.pitch);
                 },
                 [&](const TapAction&) { touches_->tap(); },
                 [&](const TouchAction& a) { touches_->touch(CGPointMake(a.x, a.y)); },
                 [&](const DragAction& a) { touches_->drag(a); },
                 [&](const PrefsWriteAction& a) { writePreference(a.key, a.value); },
                 [&](const PrefsDeleteAction&) { deletePreferences(); },
                 // Refused before the run starts (unsupportedAction).
                 [&](const auto&) {},
             },
             action);
}

SimulationRunner::Outcome SimulationRunner::run(const Scenario& scenario) {
  if (auto unsupported = unsupportedAction(scenario)) return {Status::BadInput, *unsupported};
  Outcome outcome = start(scenario);
  if (outcome.status != Status::Done) {
    stop();
    return outcome;
  }
  {
    ProcessScope scope(*hand_);
    for (const auto& timed : scenario.actions) {
      device_->runUntil(timed.time);
      perform(timed.action);
    }
    device_->runUntil(scenario.effectiveEndTime());
  }
  timeline_.finish();
  stop();
  return {};
}

SimulationRunner::Outcome SimulationRunner::replay(const std::string& tracePath,
                                                   const Scenario* scenario) {
  // First pass: the whole trace is checked before anything runs; only its last time is kept.
  double lastSampleTime = 0;
  {
    TraceReader reader(tracePath);
    TraceSample sample;
    TraceReader::Status status;
    while ((status = reader.next(sample)) == TraceReader::Status::Sample) {
      lastSampleTime = sample.time;
    }
    if (status == TraceReader::Status::Error) return {Status::BadInput, reader.error()};
  }

  Scenario played = scenario ? *scenario : defaultReplayScenario();
  const bool ownActions = scenario && !scenario->actions.empty();
  if (!ownActions) {
    Scenario defaults = defaultReplayScenario();
    if (!played.hasApp(kDefaultReplayAppBundleId)) played.apps.push_back(defaults.apps.front());
    played.actions = defaults.actions;
  }
  if (auto unsupported = unsupportedAction(played)) return {Status::BadInput, *unsupported};
  double endTime = lastSampleTime;
  if (played.endTime) {
    endTime = *played.endTime;
  } else if (ownActions) {
    endTime = std::max(lastSampleTime, played.effectiveEndTime());
  }

  Outcome outcome = start(played);
  if (outcome.status != Status::Done) {
    stop();
    return outcome;
  }
  // Second pass: samples and actions merged in time order, read as they are needed.
  std::optional<ProcessScope> scope(std::in_place, *hand_);
  TraceReader reader(tracePath);
  TraceSample sample;
  TraceReader::Status status = reader.next(sample);
  MotionHardware& motion = MotionHardware::of(*device_);
  std::size_t nextAction = 0;
  while (true) {
    const bool sampleDue = status == TraceReader::Status::Sample && sample.time <= endTime;
    const bool actionDue = nextAction < played.actions.size();
    if (!sampleDue && !actionDue) break;
    if (sampleDue && (!actionDue || sample.time <= played.actions[nextAction].time)) {
      device_->runUntil(sample.time);
      motion.setAttitude(sample.roll, sample.pitch);
      status = reader.next(sample);
    } else {
      const TimedAction& timed = played.actions[nextAction++];
      device_->runUntil(timed.time);
      perform(timed.action);
    }
  }
  if (status == TraceReader::Status::Error) {
    // The file changed between the two readings.
    scope.reset();
    timeline_.finish();
    stop();
    return {Status::Failed, reader.error()};
  }
  device_->runUntil(endTime);
  scope.reset();
  timeline_.finish();
  stop();
  return {};
}

}  // namespace sim

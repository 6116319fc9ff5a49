#include "sim/SimulationRunner.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "CoreFoundation/CFNotificationCenter.h"
#include "CoreMotion/MotionHardware.h"
#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/Process.h"
#include "Device/TemporaryFolder.h"
#include "Foundation/EventValueConversion.h"
#include "Foundation/NSFileManager.h"
#include "SpringBoard/HomeScreenState.h"
#include "SpringBoard/SimulatedSpringBoard.h"
#include "System/Backboard.h"
#include "VXCommon/VXLogger.h"
#include "sim/DeclineWatcher.h"
#include "sim/DeviceSetup.h"
#include "sim/HomeScreenProbe.h"
#include "sim/SettingsPerformer.h"
#include "sim/SimulationObserver.h"
#include "sim/Timeline.h"
#include "sim/TouchPerformer.h"
#include "sim/TraceReader.h"

namespace sim {
namespace {

// Device events whose name and fields are already those of the timeline. ("file" is
// passed through too, for the preferences file alone: see onDeviceEvent.)
constexpr std::array<std::string_view, 11> kPassedThroughEvents = {
    "orientation", "lock", "notify", "prefs", "haptic",  "alert",
    "spawn",       "url",  "syslog", "page",  "respring"};

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::optional<std::string_view> unsupportedActionName(const Action& action) {
  return std::visit(
      Overloaded{
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

std::filesystem::path SimulationRunner::tweakLibraryFile() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    std::filesystem::path besideExecutable = executable.parent_path() / kTweakLibraryFileName;
    if (std::filesystem::is_regular_file(besideExecutable, error)) return besideExecutable;
  }
  return std::filesystem::path(GW_BUILD_DIR) / kTweakLibraryFileName;
}

SimulationRunner::Outcome SimulationRunner::start(const Scenario& scenario) {
  std::error_code error;
  // The library is linked into the simulator (its motion helper class serves the probe), so
  // the device finds its initialisers without opening the file; the location is still what
  // the device would open.
  const std::filesystem::path library = tweakLibraryFile();
  if (LibraryInitialisers::forLibrary(kTweakLibraryName).empty() &&
      !std::filesystem::is_regular_file(library, error)) {
    return {Status::Failed, "cannot find the tweak library " + library.string()};
  }
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
  std::filesystem::create_directories(root, error);
  if (!std::filesystem::is_directory(root, error)) {
    return {Status::Failed, "cannot use '" + root.string() + "' as the device root"};
  }
  device_ = Device::create(root);
  hand_ = device_->launch(kHandProcessName);

  std::string setupError;
  if (!DeviceSetup::apply(*device_, *hand_, scenario, options_.artwork, setupError)) {
    return {Status::Failed, setupError};
  }
  touches_ = std::make_unique<TouchPerformer>(*device_, hand_, timeline_);
  declines_ = std::make_unique<DeclineWatcher>(*device_, hand_, timeline_);
  {
    ProcessScope scope(*hand_);
    if (!SettingsPerformer::install(*device_, scenario, options_.artwork, setupError)) {
      return {Status::Failed, setupError};
    }
  }
  settings_ =
      std::make_unique<SettingsPerformer>(*device_, timeline_, [this](PreferencesPaneHost* host) {
        if (observer_) observer_->settingsPaneChanged(host);
      });
  // The pane's respring (killall backboardd) brings the home screen back the way `respring`
  // does, so the library is injected into the new process too.
  Backboard::of(*device_).setHomeScreenBoot([this](Device&) { respring(); });
  // Subscribed after the set-up: files written to prepare the device are not part of the run.
  subscription_ = device_->subscribe([this](const DeviceEvent& event) { onDeviceEvent(event); });
  device_->setLibraryLocation(kTweakLibraryName, library);
  device_->addLaunchObserver([this](Process& process) { onProcessLaunched(process); });
  return {};
}

void SimulationRunner::stop() {
  if (!device_) return;
  device_->unsubscribe(subscription_);
  subscription_ = 0;
  touches_.reset();
  declines_.reset();
  settings_.reset();  // the Settings process ends while the device exists
  // Processes end while the device still exists, so their per-process state (the motion
  // helper, windows) is torn down with a device to talk to.
  device_->terminate(kHomeScreenProcessName);
  hand_.reset();
  device_->terminate(kHandProcessName);
  device_.reset();
  temporaryRoot_.reset();
}

void SimulationRunner::onProcessLaunched(Process& process) {
  ProcessScope scope(process);
  const bool homeScreen = process.name() == kHomeScreenProcessName;
  if (homeScreen) {
    timeline_.record(device_->now(), "boot");
    declines_->noteHomeScreenStarted();
    // Before the log sink: the probe's own motion helper logs as the library's does.
    HomeScreenProbe::install(*device_);
  }
  // The logger's sink belongs to a process, so each process gets it as it starts, before any
  // library is loaded into it. The lines are watched for the tweak's quit test even when
  // they are not part of the timeline.
  Device* device = device_.get();
  VXLogger::setSinkForTesting([this, device](std::string_view line) {
    if (declines_) declines_->noteLogLine(line);  // gone while the processes end
    if (!options_.logLines) return;
    timeline_.record(
        device->now(), "log",
        Foundation::Dictionary{{"line", Foundation::Value::string(std::string(line))}});
  });
  // Checked in start(): the library is there.
  if (homeScreen) process.loadLibrary(kTweakLibraryName);
}

void SimulationRunner::onDeviceEvent(const DeviceEvent& event) {
  declines_->noteDeviceEvent(event);
  if (event.name == "file") {
    // Only the preferences file is part of the timeline: whatever else is written on the
    // device (an app's files, a settings bundle's resources) is not the system's doing.
    const EventValue* path = event.fields.find("path");
    if (path && path->stringValue() && *path->stringValue() == DeviceSetup::kPreferencesPath) {
      timeline_.record(event.time, event.name, Foundation::fromEventFields(event.fields));
    }
    return;
  }
  if (event.name == "view") {
    const EventValue* className = event.fields.find("class");
    const EventValue* op = event.fields.find("op");
    if (!className || !className->stringValue() ||
        *className->stringValue() != TouchPerformer::kButtonClassName || !op ||
        !op->stringValue()) {
      return;
    }
    if (*op->stringValue() == "added") {
      Foundation::Dictionary fields{{"state", Foundation::Value::string("shown")}};
      for (const char* key : {"x", "y", "w", "h"}) {
        fields.set(key, Foundation::fromEventValue(event.fields.value(key)));
      }
      touches_->noteButtonFrame(
          CGRectMake(event.fields.value("x").doubleValue(), event.fields.value("y").doubleValue(),
                     event.fields.value("w").doubleValue(), event.fields.value("h").doubleValue()));
      timeline_.record(event.time, "button", std::move(fields));
    } else if (*op->stringValue() == "removed") {
      timeline_.record(event.time, "button",
                       Foundation::Dictionary{{"state", Foundation::Value::string("removed")}});
    }
    return;
  }
  if (std::find(kPassedThroughEvents.begin(), kPassedThroughEvents.end(), event.name) !=
      kPassedThroughEvents.end()) {
    timeline_.record(event.time, event.name, Foundation::fromEventFields(event.fields));
  }
}

// The launch observer records the start and loads the library; the launch then completes,
// which runs the library's hook and so starts the tweak manager.
void SimulationRunner::boot() {
  std::shared_ptr<Process> springBoard = device_->launch(kHomeScreenProcessName);
  ProcessScope scope(*springBoard);
  SimulatedSpringBoard::finishLaunching();
}

void SimulationRunner::respring() {
  std::shared_ptr<Process> springBoard = device_->restart(kHomeScreenProcessName);
  ProcessScope scope(*springBoard);
  SimulatedSpringBoard::finishLaunching();
}

void SimulationRunner::postSettingsChanged() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       kSettingsChangedNotification, nullptr, nullptr,
                                       /*deliverImmediately=*/true);
}

void SimulationRunner::writePreference(const std::string& key, const Foundation::Value& value) {
  // As the settings pane does: a coordinated read-modify-write of the whole file, replaced
  // atomically, then the system-wide notification. A write that fails posts nothing; a file
  // that is there but cannot be read is not replaced by this one entry.
  bool written = false;
  NSFileCoordinator::coordinateWritingItemAtPath(DeviceSetup::kPreferencesPath, [&] {
    std::optional<Foundation::Dictionary> entries =
        NSDictionary::readForRewrite(DeviceSetup::kPreferencesPath).baseForRewrite();
    if (!entries) return;
    entries->set(key, value);
    written = NSDictionary::writeToFile(*entries, DeviceSetup::kPreferencesPath, true);
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
                 [&](const RespringAction&) { respring(); },
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
                 [&](const SettingsOpenAction&) { settings_->open(); },
                 [&](const SettingsCloseAction&) { settings_->close(); },
                 [&](const SettingsSetAction& a) { settings_->setValue(a.key, a.value); },
                 [&](const SettingsPressAction& a) { settings_->press(a.label); },
                 [&](const SettingsPickAction& a) { settings_->pick(a.bundleIds); },
                 [&](const AlertAction& a) { settings_->tapAlertAction(a.actionTitle); },
                 // Refused before the run starts (unsupportedAction).
                 [&](const auto&) {},
             },
             action);
}

void SimulationRunner::advanceTo(double time) {
  if (observer_) {
    observer_->advance(*device_, time);
  } else {
    device_->runUntil(time);
  }
}

void SimulationRunner::performTimed(const TimedAction& timed) {
  if (observer_) observer_->willPerform(*device_, timed);
  perform(timed.action);
  if (observer_) observer_->didPerform(*device_, timed);
}

SimulationRunner::Outcome SimulationRunner::begin(const Scenario& scenario, double endTime) {
  Outcome outcome = start(scenario);
  if (outcome.status != Status::Done) {
    stop();
    return outcome;
  }
  ProcessScope scope(*hand_);
  if (observer_) observer_->runStarting(*device_, endTime);
  return {};
}

void SimulationRunner::runUntil(double time) {
  if (!device_) return;
  ProcessScope scope(*hand_);
  advanceTo(time);
}

void SimulationRunner::play(const TimedAction& timed) {
  if (!device_) return;
  ProcessScope scope(*hand_);
  advanceTo(timed.time);
  performTimed(timed);
}

void SimulationRunner::inHand(const std::function<void()>& work) {
  if (!device_) return;
  ProcessScope scope(*hand_);
  work();
}

void SimulationRunner::end() {
  if (!device_) return;
  timeline_.finish();
  stop();
}

SimulationRunner::Outcome SimulationRunner::run(const Scenario& scenario) {
  if (auto unsupported = unsupportedAction(scenario)) return {Status::BadInput, *unsupported};
  Outcome outcome = begin(scenario, scenario.effectiveEndTime());
  if (outcome.status != Status::Done) return outcome;
  for (const auto& timed : scenario.actions) play(timed);
  runUntil(scenario.effectiveEndTime());
  end();
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
  if (observer_) observer_->runStarting(*device_, endTime);
  while (true) {
    const bool sampleDue = status == TraceReader::Status::Sample && sample.time <= endTime;
    const bool actionDue = nextAction < played.actions.size();
    if (!sampleDue && !actionDue) break;
    if (sampleDue && (!actionDue || sample.time <= played.actions[nextAction].time)) {
      advanceTo(sample.time);
      motion.setAttitude(sample.roll, sample.pitch);
      if (observer_) observer_->sampleApplied(*device_, sample);
      status = reader.next(sample);
    } else {
      const TimedAction& timed = played.actions[nextAction++];
      advanceTo(timed.time);
      performTimed(timed);
    }
  }
  if (status == TraceReader::Status::Error) {
    // The file changed between the two readings.
    scope.reset();
    timeline_.finish();
    stop();
    return {Status::Failed, reader.error()};
  }
  advanceTo(endTime);
  scope.reset();
  timeline_.finish();
  stop();
  return {};
}

}  // namespace sim

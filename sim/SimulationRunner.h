// Plays a scenario (and, for `replay`, an attitude trace) on a simulated device and records
// what happens in a Timeline.
//
// The device lives for one run, rooted in the folder the options name (kept afterwards) or in
// a fresh temporary folder (removed afterwards). The scenario's setup is applied before
// anything boots; then the device's clock is advanced to each action's time (everything the
// device has due by then runs first) and the action is performed in the process it belongs
// to. Device events become timeline events as they happen: "orientation", "lock", "notify",
// "prefs", "haptic", ... pass through with their fields; "file" only for the preferences file;
// a view of class "VXFab" joining or leaving the screen becomes `button` "shown" / "removed";
// a landscape report that the tweak answers with no button becomes `declined` (DeclineWatcher).
//
// The simulator is the code-injection platform of the device: every start of the home-screen
// process "SpringBoard" (`boot`, `respring`, and a restart of the user interface from inside
// the device) is recorded as `boot`, gets the simulator's probe (HomeScreenProbe), the log
// sink (read for declines; its lines are `log` events with --log), and then the tweak library
// "Gyrowhirl" loaded into it, all before its launch completes. `boot` launches the process and
// completes its launch; `respring` restarts it the same way, so the new process has fresh
// singletons, runs the library's initialisers again and reads the preferences again.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "Foundation/Value.h"
#include "sim/DeviceArtwork.h"
#include "sim/Scenario.h"

class Device;
class Process;
class TemporaryFolder;
struct DeviceEvent;

namespace sim {

class SimulationObserver;
class Timeline;
class DeclineWatcher;
class SettingsPerformer;
class TouchPerformer;

struct SimulationOptions {
  // The device's root folder, kept after the run; a temporary folder when absent.
  std::optional<std::filesystem::path> deviceRoot;
  // Also record the tweak library's log lines (`log` events).
  bool logLines = false;
  // The pictures the device carries as files (lock image, settings banner).
  DeviceArtwork artwork;
};

class SimulationRunner {
 public:
  enum class Status { Done, BadInput, Failed };
  struct Outcome {
    Status status = Status::Done;
    std::string message;  // for BadInput: "FILE:LINE: what is wrong"
  };

  static constexpr const char* kHomeScreenProcessName = "SpringBoard";
  // The tweak library, as the device knows it, and its file in the build.
  static constexpr const char* kTweakLibraryName = "Gyrowhirl";
  static constexpr const char* kTweakLibraryFileName = "libGyrowhirl.so";
  // The simulator's own process on the device: files it writes and notifications it posts
  // come from here, as from any other program on the device.
  static constexpr const char* kHandProcessName = "gyrowhirl-sim";
  static constexpr const char* kDefaultReplayAppBundleId = "com.example.app";
  static constexpr const char* kSettingsChangedNotification = "com.zel.gyrowhirl.settingschanged";

  SimulationRunner(SimulationOptions options, Timeline& timeline);
  ~SimulationRunner();
  SimulationRunner(const SimulationRunner&) = delete;
  SimulationRunner& operator=(const SimulationRunner&) = delete;

  // Runs `scenario` until its end time.
  Outcome run(const Scenario& scenario);
  // Replays the trace at `tracePath`, each sample setting the device's attitude at its time.
  // The whole trace is checked first, so a bad trace runs nothing. `scenario` (may be null)
  // sets the device up and its timed actions are merged with the samples (at equal times the
  // sample comes first); without one, or when it has no timed actions, the device boots at 0
  // with an app in front in upright portrait and the orientation lock on. The run ends at the
  // scenario's `end`, else at the later of the last sample and the scenario's own default end
  // (the last sample alone when no scenario actions were given).
  Outcome replay(const std::string& tracePath, const Scenario* scenario);
  // Live play, for a person who drives the device while it runs: begin() sets the device up
  // as run() does and performs nothing (`endTime` is what the observer is told); then
  // runUntil() and play() in order of device time, never going back; end() finishes the
  // timeline and the device. run() is begin(), play() of every action, runUntil(end), end().
  Outcome begin(const Scenario& scenario, double endTime);
  // Runs the device's clock to `time` (through the observer); a time already passed runs
  // what is due now.
  void runUntil(double time);
  // Runs the clock to `timed.time`, then performs the action.
  void play(const TimedAction& timed);
  void end();
  // Runs `work` as the simulator's own process on the device, between tasks (to read the
  // device's state); does nothing without a device.
  void inHand(const std::function<void()>& work);
  // The device of the live run, or null before begin() and after end().
  Device* device() const { return device_.get(); }

  // Tells `observer` (not owned; null for none) how each run goes, and lets it advance the
  // clock (see SimulationObserver).
  void setObserver(SimulationObserver* observer) { observer_ = observer; }

  // The set-up of a replay without a scenario (see replay()).
  static Scenario defaultReplayScenario();
  // "FILE:LINE: ..." for the first action this simulator cannot perform yet, or nullopt.
  static std::optional<std::string> unsupportedAction(const Scenario& scenario);
  // Where the tweak library's file is: next to the running executable, else in the build
  // folder this simulator was built in.
  static std::filesystem::path tweakLibraryFile();

 private:
  Outcome start(const Scenario& scenario);
  void stop();
  void perform(const Action& action);
  // perform() with the observer told before and after.
  void performTimed(const TimedAction& timed);
  // Runs the device until `time`, through the observer when there is one.
  void advanceTo(double time);
  void boot();
  void respring();
  // The launch observer: what the simulator does in every process as it starts.
  void onProcessLaunched(Process& process);
  void writePreference(const std::string& key, const Foundation::Value& value);
  void deletePreferences();
  void postSettingsChanged();
  void onDeviceEvent(const DeviceEvent& event);

  SimulationOptions options_;
  Timeline& timeline_;
  std::unique_ptr<TemporaryFolder> temporaryRoot_;
  std::shared_ptr<Device> device_;
  std::shared_ptr<Process> hand_;
  std::unique_ptr<TouchPerformer> touches_;
  std::unique_ptr<SettingsPerformer> settings_;
  std::unique_ptr<DeclineWatcher> declines_;
  int subscription_ = 0;
  SimulationObserver* observer_ = nullptr;
};

}  // namespace sim

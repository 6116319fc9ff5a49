// The person's hand on the Settings app: opens the gyrowhirlprefs pane, changes its rows,
// presses its buttons, picks applications, answers its alerts and closes it again, and
// installs the settings bundle and its banner on the device before the run.
//
// The Settings app is the device process "Preferences"; it is launched by the first
// `settings open` (and again if it is no longer running) and ends with the run, or earlier
// when the device ends it (a restart of the user interface): the pane closes with it, the
// pane observer is told, and later actions are refused until the next `settings open`. What the
// pane does shows up as device events (`page`, `alert`, `spawn`, `url`, `syslog`, `file`,
// `notify`); the runner passes them to the timeline.
//
// An action the device cannot take at that moment (the pane is closed, there is no row with
// that key or label, no alert is on screen, the alert has no such action) does nothing to the
// device: the timeline records `refused` with `action` (the statement's verb, e.g.
// "settings set" or "alert") and `reason`, and the run goes on. A scenario's timing is
// checked against what the system really shows, so a missing alert is an outcome to see in
// the timeline, not a reason to throw the rest of the run away.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Foundation/Value.h"
#include "sim/DeviceArtwork.h"
#include "sim/Scenario.h"

class Device;
class PreferencesPaneHost;
class Process;

namespace sim {

class Timeline;

class SettingsPerformer {
 public:
  // Told when the pane opens (the host) or closes (null); the host stays valid until the
  // next call or until the performer is destroyed.
  using PaneObserver = std::function<void(PreferencesPaneHost*)>;

  static constexpr const char* kRefusedEvent = "refused";

  // Installs the settings bundle (resources and code) from this build, and, unless the
  // scenario asks for a device without the image folder (`lockimage missing`), the header
  // banner when the folder lacks it. Called before anything boots, from inside a process of
  // the device. False with a reason in `error`.
  static bool install(Device& device, const Scenario& scenario, const DeviceArtwork& artwork,
                      std::string& error);

  SettingsPerformer(Device& device, Timeline& timeline, PaneObserver paneObserver = {});
  // Closes the pane and ends the Settings process while the device still exists.
  ~SettingsPerformer();
  SettingsPerformer(const SettingsPerformer&) = delete;
  SettingsPerformer& operator=(const SettingsPerformer&) = delete;

  void open();
  void close();
  void setValue(const std::string& key, const Foundation::Value& value);
  void press(const std::string& label);
  void pick(const std::vector<std::string>& bundleIds);
  void tapAlertAction(const std::string& title);

  // The host of the open pane, or null.
  PreferencesPaneHost* host() const;

 private:
  // The pane's host when the Settings app runs and the pane is open; else records the refusal
  // of `action` and returns null.
  PreferencesPaneHost* openHost(std::string_view action);
  void refuse(std::string_view action, const std::string& reason);
  // The device ends `process`: if it is the Settings app, the pane goes with it.
  void processEnding(Process& process);

  Device& device_;
  Timeline& timeline_;
  PaneObserver paneObserver_;
  std::shared_ptr<Process> settings_;
  std::unique_ptr<PreferencesPaneHost> host_;
  // Expires with the performer: the device keeps its termination observer longer.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace sim

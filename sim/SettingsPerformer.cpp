#include "sim/SettingsPerformer.h"

#include <filesystem>
#include <system_error>

#include "Device/Device.h"
#include "Device/DeviceFileSystem.h"
#include "Device/Process.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "UIKit/UIAlertController.h"
#include "sim/PreferenceBundleInstaller.h"
#include "sim/Timeline.h"

namespace sim {
namespace {

// The bundle's module: next to the running executable (an installed simulator), else the one
// of the build this simulator was built in.
std::filesystem::path settingsModuleFile() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    std::filesystem::path beside =
        executable.parent_path() / PreferenceBundleInstaller::builtModuleFile().filename();
    if (std::filesystem::is_regular_file(beside, error)) return beside;
  }
  return PreferenceBundleInstaller::builtModuleFile();
}

}  // namespace

bool SettingsPerformer::install(Device& device, const Scenario& scenario,
                                const DeviceArtwork& artwork, std::string& error) {
  if (!PreferenceBundleInstaller::install(device, PreferenceBundleInstaller::builtResourceFolder(),
                                          settingsModuleFile(), error)) {
    return false;
  }
  // `lockimage missing` stands for a device whose image folder was never installed: the
  // banner is missing with it. A banner already there (a kept device root) is left alone.
  if (scenario.lockImage == LockImage::Missing) return true;
  if (!artwork.installSettingsBanner) {
    error = "cannot draw the settings banner";
    return false;
  }
  return artwork.installSettingsBanner(device.fileSystem(), error);
}

SettingsPerformer::SettingsPerformer(Device& device, Timeline& timeline, PaneObserver paneObserver)
    : device_(device), timeline_(timeline), paneObserver_(std::move(paneObserver)) {
  device_.addTerminationObserver([this, alive = std::weak_ptr<bool>(alive_)](Process& process) {
    if (!alive.expired()) processEnding(process);
  });
}

SettingsPerformer::~SettingsPerformer() {
  alive_.reset();
  if (host_ && host_->isOpen() && paneObserver_) paneObserver_(nullptr);
  host_.reset();  // closes the pane inside the Settings process
  if (settings_) {
    settings_.reset();
    device_.terminate(PreferencesPaneHost::kSettingsProcessName);
  }
}

void SettingsPerformer::processEnding(Process& process) {
  if (!settings_ || settings_.get() != &process) return;
  if (host_ && host_->isOpen() && paneObserver_) paneObserver_(nullptr);
  host_.reset();  // closes the pane while its process still runs
  settings_.reset();
}

PreferencesPaneHost* SettingsPerformer::host() const {
  return host_ && host_->isOpen() ? host_.get() : nullptr;
}

void SettingsPerformer::refuse(std::string_view action, const std::string& reason) {
  timeline_.record(device_.now(), kRefusedEvent,
                   Foundation::Dictionary{
                       {"action", Foundation::Value::string(std::string(action))},
                       {"reason", Foundation::Value::string(reason)},
                   });
}

PreferencesPaneHost* SettingsPerformer::openHost(std::string_view action) {
  if (!host_ || !settings_ || !settings_->isRunning() || !host_->isOpen()) {
    refuse(action, "the settings pane is not open");
    return nullptr;
  }
  return host_.get();
}

void SettingsPerformer::open() {
  if (!settings_ || !settings_->isRunning()) {
    // A fresh Settings process: the pane of an ended one went with it.
    if (host_ && paneObserver_) paneObserver_(nullptr);
    host_.reset();
    settings_ = device_.process(PreferencesPaneHost::kSettingsProcessName);
    if (!settings_) settings_ = device_.launch(PreferencesPaneHost::kSettingsProcessName);
  }
  if (!host_) {
    host_ =
        std::make_unique<PreferencesPaneHost>(settings_, PreferenceBundleInstaller::kBundlePath);
  }
  std::string error;
  if (!host_->open(&error)) {
    if (paneObserver_) paneObserver_(nullptr);
    refuse("settings open", error);
    return;
  }
  if (paneObserver_) paneObserver_(host_.get());
}

void SettingsPerformer::close() {
  if (!openHost("settings close")) return;
  host_->close();
  if (paneObserver_) paneObserver_(nullptr);
}

void SettingsPerformer::setValue(const std::string& key, const Foundation::Value& value) {
  PreferencesPaneHost* host = openHost("settings set");
  if (!host) return;
  std::string error;
  if (!host->setValue(key, value, &error)) refuse("settings set", error);
}

void SettingsPerformer::press(const std::string& label) {
  PreferencesPaneHost* host = openHost("settings press");
  if (!host) return;
  std::string error;
  if (!host->pressButton(label, &error)) refuse("settings press", error);
}

void SettingsPerformer::pick(const std::vector<std::string>& bundleIds) {
  PreferencesPaneHost* host = openHost("settings pick");
  if (!host) return;
  std::string error;
  if (!host->pickApplications(bundleIds, &error)) refuse("settings pick", error);
}

void SettingsPerformer::tapAlertAction(const std::string& title) {
  PreferencesPaneHost* host = openHost("alert");
  if (!host) return;
  if (!host->visibleAlert()) {
    refuse("alert", "no alert is on screen");
    return;
  }
  std::string error;
  if (!host->tapAlertAction(title, &error)) refuse("alert", error);
}

}  // namespace sim

#include "sim/DeclineWatcher.h"

#include <algorithm>
#include <bit>

#include "Device/Device.h"
#include "Device/DeviceEvent.h"
#include "Device/Process.h"
#include "SpringBoard/HomeScreenState.h"
#include "UIKit/UIDeviceHardware.h"
#include "sim/Timeline.h"
#include "sim/TouchPerformer.h"

namespace sim {
namespace {

bool isString(const EventValue* value, std::string_view text) {
  return value && value->stringValue() && *value->stringValue() == text;
}

}  // namespace

DeclineWatcher::DeclineWatcher(Device& device, std::shared_ptr<Process> hand, Timeline& timeline)
    : device_(device), hand_(std::move(hand)), timeline_(timeline) {}

void DeclineWatcher::noteDeviceEvent(const DeviceEvent& event) {
  if (event.name == "orientation") {
    if (event.fields.value("value").integerValue() == 2) reportCame();
  } else if (event.name == "view") {
    if (!isString(event.fields.find("class"), TouchPerformer::kButtonClassName)) return;
    const EventValue* op = event.fields.find("op");
    if (isString(op, "added")) {
      buttonUp_ = true;
      if (reportPending_) facts_.buttonShown = true;
    } else if (isString(op, "removed")) {
      buttonUp_ = false;
    }
  } else if (event.name == "lock") {
    lockLiftedByTweak_ =
        !event.fields.value("on").boolValue() && isString(event.fields.find("by"), "tweak");
  } else if (event.name == "prefs") {
    blacklist_.clear();
    const EventValue entries = event.fields.value("entries");
    const EventValue* apps =
        entries.recordValue() ? entries.recordValue()->find("BlacklistedApps") : nullptr;
    const EventValue::List* list = apps ? apps->listValue() : nullptr;
    if (!list) return;
    for (const auto& app : *list) {
      if (app.stringValue()) blacklist_.push_back(*app.stringValue());
    }
  }
}

void DeclineWatcher::noteLogLine(std::string_view line) {
  if (!reportPending_) return;
  if (auto record = parseQuitLogLine(line)) facts_.quit = record;
}

void DeclineWatcher::noteHomeScreenStarted() {
  buttonUp_ = false;
  lockLiftedByTweak_ = false;
  blacklist_.clear();
}

void DeclineWatcher::reportCame() {
  reportPending_ = true;
  facts_ = DeclineFacts{};
  facts_.buttonAlreadyUp = buttonUp_;
  facts_.lockLiftedByTweak = lockLiftedByTweak_;
  // Scheduled now for now: it runs after the tasks already due in this instant, the manager's
  // answer to the report among them.
  device_.schedule(*hand_, device_.now(), [this] { judge(); });
}

void DeclineWatcher::judge() {
  if (!reportPending_) return;
  reportPending_ = false;
  const HomeScreenState& home = HomeScreenState::of(device_);
  facts_.orientationLocked = home.isOrientationLocked();
  facts_.portraitOnly = frontAppIsPortraitOnly();
  facts_.blacklisted = frontAppIsBlacklisted();
  const std::optional<DeclineReason> reason = declineReason(facts_);
  if (!reason) return;
  timeline_.record(
      device_.now(), kEventName,
      Foundation::Dictionary{
          {"reason", Foundation::Value::string(std::string(declineReasonWord(*reason)))}});
}

bool DeclineWatcher::frontAppIsPortraitOnly() const {
  const auto app = HomeScreenState::of(device_).frontApplication();
  if (!app) return false;
  // On a tablet no app counts as portrait-only; elsewhere one declared orientation does.
  return UIDeviceHardware::of(device_).userInterfaceIdiom() != UIUserInterfaceIdiomPad &&
         std::popcount(app->supportedInterfaceOrientations()) == 1;
}

bool DeclineWatcher::frontAppIsBlacklisted() const {
  const auto app = HomeScreenState::of(device_).frontApplication();
  return app && std::find(blacklist_.begin(), blacklist_.end(), app->bundleIdentifier()) !=
                    blacklist_.end();
}

}  // namespace sim

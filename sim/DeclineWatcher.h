// Sees the tweak decline a suggestion and records it as the timeline event `declined` with a
// `reason` (see DeclineReason).
//
// That the tweak declined is observed, not predicted: a landscape report ("orientation" 2)
// opens an instant; a check scheduled in the simulator's own process for that same moment
// runs after every task already due then, the tweak manager's answer to the report among
// them. If no button appeared by then, the report was declined, unless a button was already
// up or the tweak had lifted the lock itself. The reason comes first from the quit-test log
// line the manager wrote in that instant; when it wrote none, from the device and the
// preferences of that moment: the front app's declared orientations and the device's idiom,
// the blacklist of the last broadcast the home-screen process heard, the orientation lock.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DeclineReason.h"

class Device;
class Process;
struct DeviceEvent;

namespace sim {

class Timeline;

class DeclineWatcher {
 public:
  static constexpr const char* kEventName = "declined";

  // `hand`: the simulator's own process, where the check runs.
  DeclineWatcher(Device& device, std::shared_ptr<Process> hand, Timeline& timeline);

  // Every device event, as it is emitted.
  void noteDeviceEvent(const DeviceEvent& event);
  // Every line the tweak library logs in the home-screen process.
  void noteLogLine(std::string_view line);
  // A home-screen process started: no button, a fresh manager, no broadcast heard yet.
  void noteHomeScreenStarted();

 private:
  void reportCame();
  void judge();
  bool frontAppIsPortraitOnly() const;
  bool frontAppIsBlacklisted() const;

  Device& device_;
  std::shared_ptr<Process> hand_;
  Timeline& timeline_;
  bool buttonUp_ = false;
  bool lockLiftedByTweak_ = false;
  std::vector<std::string> blacklist_;
  // The instant of a landscape report, until it is judged.
  bool reportPending_ = false;
  DeclineFacts facts_;
};

}  // namespace sim

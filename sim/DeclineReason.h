// Why the tweak offered no suggestion when the motion helper reported landscape, in the words
// of the timeline's `declined` event. Pure decisions over what the simulator saw in that
// instant (DeclineFacts); DeclineWatcher gathers the facts.
//
// The reasons follow the tweak manager's own order: its quit test (switched off, device
// locked, no app in front, app not upright; then portrait only, blacklisted), then the user's
// orientation lock, without which the front app turns with the device by itself. An app that
// is not upright while the orientation lock is off has turned by itself, so that case is
// named by the lock.
#pragma once

#include <optional>
#include <string_view>

namespace sim {

enum class DeclineReason {
  Disabled,
  DeviceLocked,
  NoFrontApp,
  AppNotUpright,
  PortraitOnly,
  Blacklisted,
  OrientationUnlocked,
};

// The three flags of the tweak manager's quit-test log line, each as it was logged.
struct QuitRecord {
  bool disabled = false;
  bool deviceLocked = false;
  bool noFrontApp = false;
  friend bool operator==(const QuitRecord&, const QuitRecord&) = default;
};

// What the simulator knows once the tweak has answered a landscape report.
struct DeclineFacts {
  bool buttonShown = false;        // a button appeared in the instant of the report
  bool buttonAlreadyUp = false;    // a button was on screen when the report came
  bool lockLiftedByTweak = false;  // the orientation lock is off because the tweak lifted it
  std::optional<QuitRecord> quit =
      std::nullopt;                // the quit-test log line written in that instant, if any
  bool portraitOnly = false;       // the front app declares one orientation, on a phone
  bool blacklisted = false;        // the front app is on the blacklist the tweak last received
  bool orientationLocked = false;  // the user's orientation lock
};

// The quit-test record in a tweak log line ("... -[VXTweakManager shouldQuit] quiting state:
// disabled 0, locked 1, topapp 0"), or nullopt for any other line.
std::optional<QuitRecord> parseQuitLogLine(std::string_view line);

// The reason the report brought no button, or nullopt when it was no decline: a button came
// or was already up, the tweak had lifted the lock itself, or no true reason is known.
std::optional<DeclineReason> declineReason(const DeclineFacts& facts);

// The `reason` field of `declined`: "disabled", "device-locked", "no-front-app",
// "app-not-upright", "portrait-only", "blacklisted", "orientation-unlocked".
std::string_view declineReasonWord(DeclineReason reason);
// The reason for a person ("device locked"), from the `reason` field; the field itself when
// it is not one of the words above.
std::string_view declineReasonPhrase(std::string_view word);

}  // namespace sim

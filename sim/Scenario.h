// A parsed scenario: how the simulated device is set up, and what the person holding it does
// and when. Plain data; ScenarioParser makes it, SimulationRunner plays it.
#pragma once

#include <cstdint>
#include <numbers>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "Foundation/Value.h"

namespace sim {

// The attitude angles a scenario or a trace may give, in radians. CoreMotion's roll lies in
// -π..π and its pitch in -π/2..π/2; the slack admits values rounded to 4 decimals (3.1416).
// Anything beyond is almost surely in degrees, which would silently classify as nothing.
inline constexpr double kRollLimitRadians = std::numbers::pi + 0.001;
inline constexpr double kPitchLimitRadians = std::numbers::pi / 2 + 0.001;

// The latest device time a scenario or a trace may name, in seconds (about 11.6 days): far
// beyond any recording, yet a double there still resolves 1.2e-10 s (the 0.3 s motion tick is
// lost only from about 1e15 s on), and the run's work -- a motion tick every 0.3 s -- stays
// within seconds of real time.
inline constexpr double kMaxDeviceTimeSeconds = 1e6;

// The screen sides a scenario may give, in points: from below the smallest phone to beyond the
// largest tablet. The pictures are drawn at this size.
inline constexpr double kMinScreenSidePoints = 200;
inline constexpr double kMaxScreenSidePoints = 2000;

enum class Idiom { Phone, Pad };
enum class LockImage { Ok, Missing, Corrupt };

struct AppSetup {
  std::string bundleId;
  // How many supported interface orientations the app's Info.plist lists; 0 leaves the key out.
  int orientationCount = 4;
  int line = 0;
};

// ---- timed actions ------------------------------------------------------------------------
// The home-screen process starts and finishes launching.
struct BootAction {};
// `orientation` is the app's interface orientation (1 upright portrait ... 4).
struct FrontAction {
  std::string bundleId;
  int orientation = 1;
};
struct HomeAction {};
struct DeviceLockAction {
  bool on = false;
};
// The user's orientation lock.
struct OrientationLockAction {
  bool on = false;
};
// Radians; `turn` is parsed into one of these.
struct AttitudeAction {
  double roll = 0;
  double pitch = 0;
};
struct RespringAction {};
struct TapAction {};
// A touch at a screen point, in points.
struct TouchAction {
  double x = 0;
  double y = 0;
};
// A pan on the button: `steps` changed events sharing the movement, then ended (or cancelled).
struct DragAction {
  double dx = 0;
  double dy = 0;
  int steps = 4;
  bool cancel = false;
};
// An outside writer sets one entry of the preferences file (key as in the file, typed value).
struct PrefsWriteAction {
  std::string key;
  Foundation::Value value;
};
struct PrefsDeleteAction {};
struct SettingsOpenAction {};
struct SettingsCloseAction {};
struct SettingsSetAction {
  std::string key;
  Foundation::Value value;
};
struct SettingsPressAction {
  std::string label;
};
struct SettingsPickAction {
  std::vector<std::string> bundleIds;
};
struct AlertAction {
  std::string actionTitle;
};

using Action =
    std::variant<BootAction, FrontAction, HomeAction, DeviceLockAction, OrientationLockAction,
                 AttitudeAction, RespringAction, TapAction, TouchAction, DragAction,
                 PrefsWriteAction, PrefsDeleteAction, SettingsOpenAction, SettingsCloseAction,
                 SettingsSetAction, SettingsPressAction, SettingsPickAction, AlertAction>;

struct TimedAction {
  double time = 0;  // seconds of device time
  int line = 0;     // where it stands in the scenario file, for messages
  Action action;
};

// ---- the scenario --------------------------------------------------------------------------
struct Scenario {
  std::string fileName;  // as given on the command line; used in messages

  double screenWidthPoints = 375;
  double screenHeightPoints = 667;
  Idiom idiom = Idiom::Phone;
  bool gyroAvailable = true;
  bool deviceMotionAvailable = true;
  std::vector<AppSetup> apps;
  // The preferences file's entries written before boot, keyed as in the file, in file order.
  Foundation::Dictionary prefs;
  bool hasPrefs = false;  // a `pref` line was given (an empty dictionary still writes a file)
  LockImage lockImage = LockImage::Ok;

  std::vector<TimedAction> actions;  // in file order; times never decrease
  std::optional<double> endTime;     // `end T`
  int endLine = 0;

  static constexpr double kDefaultRunAfterLastActionSeconds = 5.0;

  // When the run stops: `end T`, else 5 s after the last action (5 s when there is none).
  double effectiveEndTime() const {
    if (endTime) return *endTime;
    double last = actions.empty() ? 0.0 : actions.back().time;
    return last + kDefaultRunAfterLastActionSeconds;
  }
  bool hasApp(const std::string& bundleId) const {
    for (const auto& app : apps) {
      if (app.bundleId == bundleId) return true;
    }
    return false;
  }
};

}  // namespace sim

// The scenario language of gyrowhirl-sim.
//
// UTF-8 text, one statement a line. A word that starts with `#` begins a comment that runs to
// the end of the line; a word in double quotes ("#FF0000:1", "Restore Defaults") keeps `#` and
// spaces, with \" and \\ for a quote and a backslash. Setup statements come before the first
// `at`:
//   screen W H                       points, kMinScreenSidePoints..kMaxScreenSidePoints
//                                    (default 375 667)
//   idiom phone|pad
//   gyro yes|no                      motion yes|no
//   app BUNDLE_ID [orientations=N]   N supported interface orientations, 0..4 (default 4)
//   pref KEY VALUE                   an entry of the preferences file written before boot
//   lockimage ok|missing|corrupt
// then timed statements `at T ACTION` with T in seconds, never decreasing:
//   boot | front BUNDLE_ID [ORIENTATION] | home | devicelock on|off | orientationlock on|off |
//   attitude ROLL PITCH | turn portrait|landscape|flat | respring | tap | touch X Y |
//   drag DX DY [steps=N] [cancel] | prefs write KEY VALUE | prefs delete |
//   settings open|close|set KEY VALUE|press LABEL|pick BUNDLE_ID... | alert ACTION_TITLE
// and `end T` (anywhere; default 5 s after the last action). Times go up to
// kMaxDeviceTimeSeconds. No key or value of the preferences holds a NUL character.
//
// Preference values are typed by the type word the key contains, tested in the order the
// tweak's reader tests them (Toggle, Segmented, ColorPicker, Slider, MultipleChoice, Other;
// the first found decides), so a scenario writes exactly the kind the reader expects.
//
// Every error is one message "FILE:LINE: what is wrong"; the first error stops parsing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Foundation/Value.h"
#include "sim/Scenario.h"

namespace sim {

class ScenarioParser {
 public:
  struct Result {
    std::optional<Scenario> scenario;
    std::string error;  // "FILE:LINE: what is wrong" when there is no scenario
    bool ok() const { return scenario.has_value(); }
  };

  // Scenario files larger than this are refused (a scenario is a page of text, not data).
  static constexpr std::size_t kMaxScenarioBytes = 4 * 1024 * 1024;

  // `fileName` is what messages call the file.
  static Result parse(std::string_view text, const std::string& fileName);
  // Reads and parses the file at `path`; a file that cannot be read is reported as
  // "FILE: cannot read: reason".
  static Result parseFile(const std::string& path);

  // The type word that decides how a preference key's value is typed, or nullopt.
  static std::optional<std::string_view> typeWordOfKey(std::string_view key);
  // Types `text` for the preference key `key`; on failure returns nullopt and sets `error`
  // to what is wrong (without a file/line prefix).
  static std::optional<Foundation::Value> typedPrefValue(std::string_view key,
                                                         std::string_view text, std::string& error);
};

}  // namespace sim

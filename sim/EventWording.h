// What timeline events, a person's actions and changes of the device's state say in plain
// words, for the human timeline and the captions of rendered frames. One line each: a
// message of several lines is joined with " / ", and long descriptions end in "…".
#pragma once

#include <string>
#include <string_view>

#include "sim/DeviceStatus.h"
#include "sim/Scenario.h"
#include "sim/TimelineEvent.h"

namespace sim {

class EventWording {
 public:
  // Longer descriptions (a page of rows, a dictionary of preferences) end in "…".
  static constexpr std::size_t kMaxDescriptionColumns = 110;

  // The event in plain words: "button shown at (150, 367), 75×75", "light haptic".
  static std::string describe(const TimelineEvent& event);
  // The action in plain words: "turn the phone to landscape (roll 1.5, pitch 0)".
  static std::string describeAction(const Action& action);
  // The change from `before` to `after` in plain words, or "" when nothing a person would
  // notice changed.
  static std::string describeChange(const DeviceStatus& before, const DeviceStatus& after);

  // A number as a person reads it: at most two decimals, no trailing zeros ("150", "62.2").
  static std::string number(double value);
  // The event's field `key` as a number (0 when absent) or as text (JSON when not a string).
  static double field(const TimelineEvent& event, std::string_view key);
  static std::string text(const TimelineEvent& event, std::string_view key);
  // "portrait", "upside down", "landscape right", "landscape left".
  static std::string orientationWord(long long orientation);

 private:
  // describe() before it is put on one line.
  static std::string wordsOf(const TimelineEvent& event);
};

}  // namespace sim

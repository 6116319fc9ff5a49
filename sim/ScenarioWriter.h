// Writes a Scenario back as text in the scenario language (see ScenarioParser): the setup
// statements, every timed action, and `end` when the scenario has one. What it writes parses
// back to an equal scenario (numbers in their shortest exact form, words quoted where the
// language needs it), so a run of the text plays exactly what the Scenario holds. Comments and
// the original spelling (`turn landscape`, a key's quoting) are not kept: a `turn` comes back
// as the `attitude` it stands for.
#pragma once

#include <string>
#include <string_view>

#include "Foundation/Value.h"
#include "sim/Scenario.h"

namespace sim {

class ScenarioWriter {
 public:
  // The whole scenario, one statement a line, ending in a newline.
  static std::string write(const Scenario& scenario);
  // The action as it follows `at T ` ("drag 20 -40 steps=4").
  static std::string actionText(const Action& action);
  // `text` as one word of the language: bare when it reads back as itself, else quoted.
  static std::string word(std::string_view text);
  // A preference value as `pref`, `prefs write` and `settings set` take it (one word).
  static std::string prefValue(const Foundation::Value& value);
};

}  // namespace sim

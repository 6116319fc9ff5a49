// How the page offers one row of the settings pane: the control the real pane shows for it
// (a switch, segments, a slider, a colour well, the application picker, a button) and what
// the control may send. Every value here is in the form a `settings set KEY VALUE` line
// takes it (before quoting), so the page changes a row with the very line a scenario would
// write, and a saved session replays it.
#pragma once

#include <string>
#include <vector>

#include "Preferences/PSListControllerUser.h"

namespace sim {

struct SettingsControl {
  enum class Kind {
    Group,     // a header: `title`
    Switch,    // `on`; sends true or false
    Segments,  // `choices` (titles), `values` (what each sends), `selected` (-1: none)
    Slider,    // `min` .. `max`, `value` the number shown
    Colour,    // `value` "#RRGGBB:alpha"
    Apps,      // the application picker: `chosen` bundle identifiers; sends `settings pick`
    Button,    // `title` is pressed with `settings press`
    Text,      // any other row with a key: `value` as text
    Label,     // a row without a value
  };
  Kind kind = Kind::Label;
  std::string key;    // the row's key, else its label: what `settings set` names
  std::string title;  // what the row shows as its label
  std::string value;
  bool on = false;
  std::vector<std::string> choices;
  std::vector<std::string> values;
  int selected = -1;
  double min = 0;
  double max = 0;
  std::vector<std::string> chosen;
};

// The control for `row`, decided by its cell type and, for a text row, the type word of its
// key (a "ColorPicker" key is a colour, a "MultipleChoice" key a list of applications).
SettingsControl settingsControlOf(const PSListControllerUser::Row& row);

const char* settingsControlKindName(SettingsControl::Kind kind);

}  // namespace sim

#include "sim/serve/SettingsControl.h"

#include <algorithm>

#include "Preferences/PSSpecifier.h"
#include "sim/ScenarioParser.h"
#include "sim/ScenarioWriter.h"
#include "sim/pictures/SettingsPageAdapter.h"

namespace sim {
namespace {

// `value` as a `settings set` line takes it, unquoted (the page quotes what needs it).
std::string settableText(const Foundation::Value& value) {
  if (value.isNull()) return {};
  if (const std::string* text = value.stringValue()) return *text;
  if (const Foundation::Array* items = value.arrayValue()) {
    std::string joined;
    for (const Foundation::Value& item : *items) {
      if (!joined.empty()) joined.push_back(',');
      if (const std::string* text = item.stringValue()) joined += *text;
    }
    return joined;
  }
  return ScenarioWriter::prefValue(value);
}

}  // namespace

SettingsControl settingsControlOf(const PSListControllerUser::Row& row) {
  SettingsControl control;
  control.key = row.title;
  if (!row.specifier) return control;
  const PSSpecifier& specifier = *row.specifier;
  const ListRow shown = SettingsPageAdapter::listRow(row);
  control.title = shown.title;
  control.value = settableText(row.value);
  const auto typeWord = ScenarioParser::typeWordOfKey(row.title);
  switch (specifier.cellType()) {
    case PSGroupCell:
      control.kind = SettingsControl::Kind::Group;
      return control;
    case PSSwitchCell:
      control.kind = SettingsControl::Kind::Switch;
      control.on = shown.on;
      control.value = shown.on ? "true" : "false";
      return control;
    case PSSegmentCell: {
      control.kind = SettingsControl::Kind::Segments;
      control.choices = shown.choices;
      control.selected = shown.selected;
      const Foundation::Value valid = specifier.propertyForKey("validValues");
      if (const Foundation::Array* values = valid.arrayValue()) {
        for (const Foundation::Value& value : *values)
          control.values.push_back(settableText(value));
      }
      // A choice without a value to send cannot be offered.
      control.choices.resize(std::min(control.choices.size(), control.values.size()));
      control.values.resize(control.choices.size());
      return control;
    }
    case PSSliderCell:
      control.kind = SettingsControl::Kind::Slider;
      control.min = specifier.propertyForKey("min").doubleValue();
      control.max = specifier.propertyForKey("max").doubleValue();
      if (control.max < control.min) control.max = control.min;
      return control;
    case PSButtonCell:
      control.kind = SettingsControl::Kind::Button;
      return control;
    default:
      break;
  }
  if (typeWord == "MultipleChoice") {
    control.kind = SettingsControl::Kind::Apps;
    if (const Foundation::Array* items = row.value.arrayValue()) {
      for (const Foundation::Value& item : *items) {
        if (const std::string* id = item.stringValue()) control.chosen.push_back(*id);
      }
    }
  } else if (typeWord == "ColorPicker") {
    control.kind = SettingsControl::Kind::Colour;
  } else if (specifier.propertyForKey("key").isNull()) {
    control.kind = SettingsControl::Kind::Label;
  } else {
    control.kind = SettingsControl::Kind::Text;
  }
  return control;
}

const char* settingsControlKindName(SettingsControl::Kind kind) {
  switch (kind) {
    case SettingsControl::Kind::Group:
      return "group";
    case SettingsControl::Kind::Switch:
      return "switch";
    case SettingsControl::Kind::Segments:
      return "segments";
    case SettingsControl::Kind::Slider:
      return "slider";
    case SettingsControl::Kind::Colour:
      return "colour";
    case SettingsControl::Kind::Apps:
      return "apps";
    case SettingsControl::Kind::Button:
      return "button";
    case SettingsControl::Kind::Text:
      return "text";
    case SettingsControl::Kind::Label:
      return "label";
  }
  return "label";
}

}  // namespace sim

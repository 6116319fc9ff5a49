#include "sim/pictures/SettingsPageAdapter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Foundation/NSBundle.h"
#include "Preferences/PSListControllerUser.h"
#include "Preferences/PSSpecifier.h"
#include "SettingsApp/PreferencesPaneHost.h"
#include "UIKit/UIAlertController.h"
#include "UIKit/UITableView.h"

namespace sim {
namespace {

std::string numberText(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// A value as the row shows it in words.
std::string valueText(const Foundation::Value& value) {
  switch (value.kind()) {
    case Foundation::Value::Kind::Null:
      return {};
    case Foundation::Value::Kind::Boolean:
      return value.boolValue() ? "On" : "Off";
    case Foundation::Value::Kind::Integer:
      return std::to_string(value.longLongValue());
    case Foundation::Value::Kind::Real:
      return numberText(value.doubleValue(), 2);
    case Foundation::Value::Kind::String:
      return *value.stringValue();
    case Foundation::Value::Kind::Array: {
      const std::size_t count = value.arrayValue()->size();
      if (count == 0) return "None";
      if (count == 1 && value.arrayValue()->front().stringValue()) {
        return *value.arrayValue()->front().stringValue();
      }
      return std::to_string(count) + " chosen";
    }
    default:
      return value.description();
  }
}

bool sameValue(const Foundation::Value& a, const Foundation::Value& b) {
  if (a.isNumber() && b.isNumber()) return a.doubleValue() == b.doubleValue();
  return a == b;
}

// The position of `value` among the row's "validValues", or -1.
int indexOfValidValue(const PSSpecifier& specifier, const Foundation::Value& value) {
  const Foundation::Value valid = specifier.propertyForKey("validValues");
  if (!valid.arrayValue()) return -1;
  const auto& values = *valid.arrayValue();
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (sameValue(values[i], value)) return static_cast<int>(i);
  }
  return -1;
}

// The row's "validTitles" (else its "validValues" in words).
std::vector<std::string> choicesOf(const PSSpecifier& specifier) {
  std::vector<std::string> choices;
  const Foundation::Value titles = specifier.propertyForKey("validTitles");
  const Foundation::Value values = specifier.propertyForKey("validValues");
  const Foundation::Value& source = titles.arrayValue() ? titles : values;
  if (!source.arrayValue()) return choices;
  for (const auto& entry : *source.arrayValue()) choices.push_back(valueText(entry));
  return choices;
}

}  // namespace

ListRow SettingsPageAdapter::listRow(const PSListControllerUser::Row& row) {
  ListRow result;
  if (!row.specifier) return result;
  const PSSpecifier& specifier = *row.specifier;
  result.title = specifier.name();
  switch (specifier.cellType()) {
    case PSGroupCell:
      result.kind = ListRow::Kind::Group;
      result.footer = specifier.stringProperty("footerText");
      return result;
    case PSSwitchCell:
      result.kind = ListRow::Kind::Switch;
      result.on = row.value.boolValue();
      break;
    case PSSegmentCell:
      result.kind = ListRow::Kind::Segments;
      result.choices = choicesOf(specifier);
      result.selected = indexOfValidValue(specifier, row.value);
      break;
    case PSSliderCell: {
      result.kind = ListRow::Kind::Slider;
      const double min = specifier.propertyForKey("min").doubleValue();
      const double max = specifier.propertyForKey("max").doubleValue();
      const double value = row.value.doubleValue();
      result.fraction = max > min ? (value - min) / (max - min) : 0;
      if (!row.value.isNull()) result.value = numberText(value, 1);
      break;
    }
    case PSLinkCell:
    case PSLinkListCell: {
      result.kind = ListRow::Kind::Link;
      const int index = indexOfValidValue(specifier, row.value);
      const auto choices = choicesOf(specifier);
      result.value = index >= 0 && static_cast<std::size_t>(index) < choices.size()
                         ? choices[static_cast<std::size_t>(index)]
                         : valueText(row.value);
      break;
    }
    case PSButtonCell:
      result.kind = ListRow::Kind::Button;
      break;
    default:
      result.kind = ListRow::Kind::Value;
      result.value = valueText(row.value);
      break;
  }
  // A row without a label is known by its key (a slider usually has neither shown).
  if (result.title.empty() && result.kind != ListRow::Kind::Slider) result.title = row.title;
  return result;
}

std::optional<SettingsPageContent> SettingsPageAdapter::pageOf(PreferencesPaneHost& host) {
  const auto& controller = host.rootController();
  if (!host.isOpen() || !controller) return std::nullopt;
  SettingsPageContent page;
  page.view = controller->table();
  if (const auto& bundle = controller->bundle()) {
    for (const char* key : {"CFBundleDisplayName", "CFBundleName"}) {
      if (const Foundation::Value* name = bundle->infoDictionary().find(key)) {
        if (name->stringValue() && !name->stringValue()->empty()) {
          page.title = *name->stringValue();
          break;
        }
      }
    }
  }
  for (const auto& row : host.rows()) {
    if (!host.touchedRow().empty() && row.title == host.touchedRow()) {
      page.rowInView = static_cast<int>(page.rows.size());
    }
    page.rows.push_back(listRow(row));
  }
  return page;
}

std::vector<AlertContent> SettingsPageAdapter::alertsOf(const PreferencesPaneHost& host) {
  std::vector<AlertContent> alerts;
  if (const auto alert = host.visibleAlert()) {
    AlertContent content{alert->title(), alert->message(), {}};
    for (const auto& action : alert->actions()) {
      if (!action) continue;
      AlertButton button{action->title(), AlertButton::Style::Default};
      if (action->style() == UIAlertActionStyleCancel) button.style = AlertButton::Style::Cancel;
      if (action->style() == UIAlertActionStyleDestructive) {
        button.style = AlertButton::Style::Destructive;
      }
      content.actions.push_back(std::move(button));
    }
    alerts.push_back(std::move(content));
  }
  return alerts;
}

}  // namespace sim

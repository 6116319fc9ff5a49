#include "sim/EventWording.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <string_view>
#include <variant>

#include "UIKit/UIColor.h"
#include "VXCommon/VXOrientationClassifier.h"
#include "sim/DeclineReason.h"
#include "sim/DeviceSetup.h"
#include "sim/JsonText.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

constexpr std::string_view kEllipsis = "\u2026";

// The first `columns` columns of `text`, ending in "…" when cut; never splits a code point.
std::string cutTo(std::string_view text, std::size_t columns) {
  if (displayColumns(text) <= columns) return std::string(text);
  std::size_t kept = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t next = end + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) ++next;
    if (kept + 1 >= columns) break;
    ++kept;
    end = next;
  }
  return std::string(text.substr(0, end)) + std::string(kEllipsis);
}

// A number as a person reads it: at most two decimals, no trailing zeros ("150", "62.2").
std::string number(double value) {
  if (!std::isfinite(value)) return formatShortest(value);
  double rounded = std::round(value * 100) / 100;
  if (rounded == 0) rounded = 0;  // no "-0"
  std::string text = formatFixed(rounded, 2);
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string point(double x, double y) {
  return "(" + number(x) + ", " + number(y) + ")";
}

double field(const TimelineEvent& event, std::string_view key) {
  const Foundation::Value* value = event.fields.find(key);
  return value ? value->doubleValue() : 0.0;
}

std::string text(const TimelineEvent& event, std::string_view key) {
  const Foundation::Value* value = event.fields.find(key);
  if (!value) return {};
  if (const std::string* string = value->stringValue()) return *string;
  return JsonText::dump(JsonText::fromValue(*value));
}

std::string hexByte(double component) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const double clamped = std::isfinite(component) ? std::fmin(1.0, std::fmax(0.0, component)) : 0;
  const int byte = static_cast<int>(std::lround(clamped * 255));
  return {kDigits[byte / 16], kDigits[byte % 16]};
}

// A property-list value in plain words: colours as #RRGGBB(:alpha), points as (x, y).
std::string plainValue(const Foundation::Value& value) {
  using Kind = Foundation::Value::Kind;
  switch (value.kind()) {
    case Kind::Null:
      return "nothing";
    case Kind::Boolean:
      return value.boolValue() ? "true" : "false";
    case Kind::Integer:
      return std::to_string(value.longLongValue());
    case Kind::Real:
      return number(value.doubleValue());
    case Kind::String:
      return *value.stringValue();
    case Kind::Point: {
      const CGPoint p = *value.pointValue();
      return point(p.x, p.y);
    }
    case Kind::Color: {
      const UIColor c = *value.colorValue();
      std::string text = "#" + hexByte(c.red()) + hexByte(c.green()) + hexByte(c.blue());
      if (c.alpha() != 1) text += ":" + number(c.alpha());
      return text;
    }
    case Kind::Array: {
      std::string text = "[";
      for (const auto& item : *value.arrayValue()) {
        if (text.size() > 1) text += ", ";
        text += plainValue(item);
      }
      return text + "]";
    }
    case Kind::Dictionary: {
      std::string text = "{";
      for (const auto& [key, item] : *value.dictionaryValue()) {
        if (text.size() > 1) text += ", ";
        text += key + "=" + plainValue(item);
      }
      return text + "}";
    }
    case Kind::Data:
    case Kind::Date:
      break;
  }
  return JsonText::dump(JsonText::fromValue(value));
}

std::string orientationWord(long long orientation) {
  switch (orientation) {
    case 1:
      return "portrait";
    case 2:
      return "upside down";
    case 3:
      return "landscape right";
    case 4:
      return "landscape left";
    default:
      return "orientation " + std::to_string(orientation);
  }
}

std::string hapticWord(long long style) {
  switch (style) {
    case 0:
      return "light";
    case 1:
      return "medium";
    case 2:
      return "heavy";
    case 3:
      return "soft";
    case 4:
      return "rigid";
    default:
      return "style " + std::to_string(style);
  }
}

std::string describeButton(const TimelineEvent& event) {
  const std::string state = text(event, "state");
  const std::string frame = point(field(event, "x"), field(event, "y")) + ", " +
                            number(field(event, "w")) + "\u00d7" + number(field(event, "h"));
  if (state == "shown") return "button shown at " + frame;
  if (state == "removed") return "button removed";
  if (state == "moved") return "button dragged to " + point(field(event, "x"), field(event, "y"));
  return "button " + state;
}

std::string describeLock(const TimelineEvent& event) {
  const Foundation::Value* on = event.fields.find("on");
  const bool locked = on && on->boolValue();
  if (text(event, "by") == "tweak") {
    return locked ? "lock put back by Gyrowhirl" : "lock lifted by Gyrowhirl";
  }
  return locked ? "orientation lock on (by the user)" : "orientation lock off (by the user)";
}

std::string describeRows(const TimelineEvent& event) {
  const Foundation::Value* rows = event.fields.find("rows");
  if (!rows || !rows->arrayValue()) return "settings page";
  std::string text = "settings page:";
  bool first = true;
  for (const auto& row : *rows->arrayValue()) {
    const Foundation::Dictionary* entry = row.dictionaryValue();
    if (!entry) continue;
    text += first ? " " : ", ";
    first = false;
    text += plainValue(entry->valueForKey("row"));
    if (const Foundation::Value* value = entry->find("value")) text += " " + plainValue(*value);
  }
  if (first) text += " (no rows)";
  return text;
}

std::string describeAlert(const TimelineEvent& event) {
  std::string line = "alert \u201c" + text(event, "title") + "\u201d";
  const std::string message = text(event, "message");
  if (!message.empty()) line += ": " + message;
  if (const Foundation::Value* actions = event.fields.find("actions");
      actions && actions->arrayValue()) {
    for (const auto& action : *actions->arrayValue()) line += " [" + plainValue(action) + "]";
  }
  return line;
}

std::string describeSpawn(const TimelineEvent& event) {
  std::string line = "program started: " + text(event, "path");
  if (const Foundation::Value* argv = event.fields.find("argv"); argv && argv->arrayValue()) {
    // argv[0] repeats the program's name.
    const auto& arguments = *argv->arrayValue();
    for (std::size_t i = 1; i < arguments.size(); ++i) line += " " + plainValue(arguments[i]);
  }
  return line;
}

std::string describePrefs(const TimelineEvent& event) {
  const Foundation::Value* entries = event.fields.find("entries");
  const Foundation::Dictionary* dictionary = entries ? entries->dictionaryValue() : nullptr;
  if (!dictionary || dictionary->empty()) return "preferences read: nothing set";
  std::string line = "preferences read:";
  bool first = true;
  for (const auto& [key, value] : *dictionary) {
    line += first ? " " : ", ";
    first = false;
    line += key + "=" + plainValue(value);
  }
  return line;
}

std::string describeFile(const TimelineEvent& event) {
  const std::string path = text(event, "path");
  const bool deleted = text(event, "op") == "delete";
  if (path == DeviceSetup::kPreferencesPath) {
    return deleted ? "preferences file deleted" : "preferences file written";
  }
  return (deleted ? "file deleted: " : "file written: ") + path;
}

// The name and fields as name=value, for events this printer has no words for.
std::string describeGenerically(const TimelineEvent& event) {
  std::string line = event.name;
  for (const auto& [key, value] : event.fields) {
    line += " " + key + "=";
    const std::string* string = value.stringValue();
    bool plain = string && !string->empty();
    if (plain) {
      for (char c : *string) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || c == '"' || c == '=' || byte == 0x7F) plain = false;
      }
    }
    if (plain) {
      line += *string;
    } else {
      JsonText::append(line, JsonText::fromValue(value));
    }
  }
  return line;
}

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

std::string EventWording::number(double value) {
  return sim::number(value);
}

double EventWording::field(const TimelineEvent& event, std::string_view key) {
  return sim::field(event, key);
}

std::string EventWording::text(const TimelineEvent& event, std::string_view key) {
  return sim::text(event, key);
}

std::string EventWording::orientationWord(long long orientation) {
  return sim::orientationWord(orientation);
}

std::string EventWording::describe(const TimelineEvent& event) {
  // One event, one line: a message of several lines ("...\nAre you sure?") is joined.
  std::string words = wordsOf(event);
  std::string line;
  line.reserve(words.size());
  for (char c : words) {
    if (c == '\n') {
      line += " / ";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      line.push_back(' ');
    } else {
      line.push_back(c);
    }
  }
  return line;
}

std::string EventWording::wordsOf(const TimelineEvent& event) {
  const std::string& name = event.name;
  if (name == "boot") return "home screen started";
  if (name == "respring") return "the user interface restarts";
  if (name == "orientation") {
    const long long value = static_cast<long long>(field(event, "value"));
    if (value == 1) return "motion helper reports portrait";
    if (value == 2) return "motion helper reports landscape";
    return "motion helper reports class " + std::to_string(value);
  }
  if (name == "lock") return describeLock(event);
  if (name == "button") return describeButton(event);
  if (name == "haptic") {
    return hapticWord(static_cast<long long>(field(event, "style"))) + " haptic";
  }
  if (name == "touch") {
    const std::string where = point(field(event, "x"), field(event, "y"));
    const std::string to = text(event, "to");
    if (to == "button") return "finger on the button at " + where;
    if (to == "passthrough") return "touch at " + where + " passes through to the app";
    return "finger on " + to + " at " + where;
  }
  if (name == "prefs") return cutTo(describePrefs(event), kMaxDescriptionColumns);
  if (name == "file") return describeFile(event);
  if (name == "notify") return "notification " + text(event, "name");
  if (name == "alert") return describeAlert(event);
  if (name == "spawn") return describeSpawn(event);
  if (name == "url") return "URL opened: " + text(event, "url");
  if (name == "syslog") return "system log: " + text(event, "line");
  if (name == "page") return cutTo(describeRows(event), kMaxDescriptionColumns);
  if (name == "log") return "log: " + text(event, "line");
  if (name == "refused") return "could not " + text(event, "action") + ": " + text(event, "reason");
  if (name == "declined") {
    return "no suggestion: " + std::string(declineReasonPhrase(text(event, "reason")));
  }
  return describeGenerically(event);
}

std::string EventWording::describeAction(const Action& action) {
  return std::visit(
      Overloaded{
          [](const BootAction&) -> std::string { return "switch the phone on"; },
          [](const FrontAction& a) -> std::string {
            return "open " + a.bundleId + " (" + orientationWord(a.orientation) + ")";
          },
          [](const HomeAction&) -> std::string { return "go to the home screen"; },
          [](const DeviceLockAction& a) -> std::string {
            return a.on ? "lock the phone" : "unlock the phone";
          },
          [](const OrientationLockAction& a) -> std::string {
            return a.on ? "turn the orientation lock on" : "turn the orientation lock off";
          },
          [](const AttitudeAction& a) -> std::string {
            const std::string angles =
                "(roll " + number(a.roll) + ", pitch " + number(a.pitch) + ")";
            switch (VXOrientationClassifier::classify(a.roll, a.pitch)) {
              case VXOrientationClassifier::kLandscape:
                return "turn the phone to landscape " + angles;
              case VXOrientationClassifier::kPortrait:
                return "turn the phone upright " + angles;
              default:
                return std::abs(a.roll) < 0.2 && std::abs(a.pitch) < 0.2
                           ? "lay the phone flat " + angles
                           : "tilt the phone " + angles;
            }
          },
          [](const RespringAction&) -> std::string { return "respring (restart the home screen)"; },
          [](const TapAction&) -> std::string { return "tap the button"; },
          [](const TouchAction& a) -> std::string {
            return "touch the screen at " + point(a.x, a.y);
          },
          [](const DragAction& a) -> std::string {
            return "drag the button by " + point(a.dx, a.dy) + (a.cancel ? ", then cancel" : "");
          },
          [](const PrefsWriteAction& a) -> std::string {
            return "another app writes " + a.key + " = " + plainValue(a.value);
          },
          [](const PrefsDeleteAction&) -> std::string {
            return "another app deletes the preferences file";
          },
          [](const SettingsOpenAction&) -> std::string { return "open Settings \u203a Gyrowhirl"; },
          [](const SettingsCloseAction&) -> std::string { return "leave the settings pane"; },
          [](const SettingsSetAction& a) -> std::string {
            return "in Settings, set " + a.key + " to " + plainValue(a.value);
          },
          [](const SettingsPressAction& a) -> std::string {
            return "in Settings, press \u201c" + a.label + "\u201d";
          },
          [](const SettingsPickAction& a) -> std::string {
            std::string line = "in Settings, pick";
            if (a.bundleIds.empty()) return line + " no app";
            for (std::size_t i = 0; i < a.bundleIds.size(); ++i) {
              line += (i == 0 ? " " : ", ") + a.bundleIds[i];
            }
            return line;
          },
          [](const AlertAction& a) -> std::string {
            return "answer the alert: \u201c" + a.actionTitle + "\u201d";
          },
      },
      action);
}

std::string EventWording::describeChange(const DeviceStatus& before, const DeviceStatus& after) {
  std::string line;
  auto add = [&line](const std::string& part) {
    if (!line.empty()) line += "; ";
    line += part;
  };
  if (before.settingsOpen && !after.settingsOpen) add("the Settings app closes");
  if (before.deviceLocked != after.deviceLocked) {
    add(after.deviceLocked ? "the phone is locked" : "the phone is unlocked");
  }
  if (before.frontApp != after.frontApp) {
    add(after.frontApp.empty()
            ? "home screen shown"
            : after.frontApp + " in front, " + orientationWord(after.orientation));
  } else if (!after.frontApp.empty() && before.orientation != after.orientation) {
    add(after.frontApp + " turned to " + orientationWord(after.orientation));
  }
  return line;
}

}  // namespace sim

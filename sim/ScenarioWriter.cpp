#include "sim/ScenarioWriter.h"

#include <variant>

#include "sim/TextUtilities.h"

namespace sim {
namespace {

template <typename... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <typename... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

std::string onOff(bool on) {
  return on ? "on" : "off";
}

std::string yesNo(bool yes) {
  return yes ? "yes" : "no";
}

}  // namespace

std::string ScenarioWriter::word(std::string_view text) {
  bool bare = !text.empty() && text.front() != '#';
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '"' || c == '\\') bare = false;
  }
  if (bare) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted.push_back('\\');
    quoted.push_back(c);
  }
  quoted.push_back('"');
  return quoted;
}

std::string ScenarioWriter::prefValue(const Foundation::Value& value) {
  using Kind = Foundation::Value::Kind;
  switch (value.kind()) {
    case Kind::Boolean:
      return value.boolValue() ? "true" : "false";
    case Kind::Integer:
      return std::to_string(value.longLongValue());
    case Kind::Real:
      return formatShortest(value.doubleValue());
    case Kind::String:
      return word(*value.stringValue());
    case Kind::Array: {
      std::string joined;
      for (const Foundation::Value& item : *value.arrayValue()) {
        if (!joined.empty()) joined.push_back(',');
        if (const std::string* text = item.stringValue()) joined += *text;
      }
      return word(joined);
    }
    case Kind::Dictionary: {
      const Foundation::Dictionary& point = *value.dictionaryValue();
      return formatShortest(point.valueForKey("x").doubleValue()) + "," +
             formatShortest(point.valueForKey("y").doubleValue());
    }
    default:
      // No statement of the language makes another kind.
      return word(value.description());
  }
}

std::string ScenarioWriter::actionText(const Action& action) {
  return std::visit(
      Overloaded{
          [](const BootAction&) -> std::string { return "boot"; },
          [](const FrontAction& a) -> std::string {
            return "front " + a.bundleId + " " + std::to_string(a.orientation);
          },
          [](const HomeAction&) -> std::string { return "home"; },
          [](const DeviceLockAction& a) { return "devicelock " + onOff(a.on); },
          [](const OrientationLockAction& a) { return "orientationlock " + onOff(a.on); },
          [](const AttitudeAction& a) {
            return "attitude " + formatShortest(a.roll) + " " + formatShortest(a.pitch);
          },
          [](const RespringAction&) -> std::string { return "respring"; },
          [](const TapAction&) -> std::string { return "tap"; },
          [](const TouchAction& a) {
            return "touch " + formatShortest(a.x) + " " + formatShortest(a.y);
          },
          [](const DragAction& a) {
            return "drag " + formatShortest(a.dx) + " " + formatShortest(a.dy) +
                   " steps=" + std::to_string(a.steps) + (a.cancel ? " cancel" : "");
          },
          [](const PrefsWriteAction& a) {
            return "prefs write " + word(a.key) + " " + prefValue(a.value);
          },
          [](const PrefsDeleteAction&) -> std::string { return "prefs delete"; },
          [](const SettingsOpenAction&) -> std::string { return "settings open"; },
          [](const SettingsCloseAction&) -> std::string { return "settings close"; },
          [](const SettingsSetAction& a) {
            return "settings set " + word(a.key) + " " + prefValue(a.value);
          },
          [](const SettingsPressAction& a) { return "settings press " + word(a.label); },
          [](const SettingsPickAction& a) {
            std::string text = "settings pick";
            for (const std::string& id : a.bundleIds) text += " " + id;
            return text;
          },
          [](const AlertAction& a) { return "alert " + word(a.actionTitle); },
      },
      action);
}

std::string ScenarioWriter::write(const Scenario& scenario) {
  std::string text;
  text += "screen " + formatShortest(scenario.screenWidthPoints) + " " +
          formatShortest(scenario.screenHeightPoints) + "\n";
  text += std::string("idiom ") + (scenario.idiom == Idiom::Pad ? "pad" : "phone") + "\n";
  text += "gyro " + yesNo(scenario.gyroAvailable) + "\n";
  text += "motion " + yesNo(scenario.deviceMotionAvailable) + "\n";
  for (const AppSetup& app : scenario.apps) {
    text += "app " + app.bundleId;
    if (app.orientationCount != 4) {
      text += " orientations=" + std::to_string(app.orientationCount);
    }
    text += "\n";
  }
  for (const auto& [key, value] : scenario.prefs) {
    text += "pref " + word(key) + " " + prefValue(value) + "\n";
  }
  switch (scenario.lockImage) {
    case LockImage::Ok:
      text += "lockimage ok\n";
      break;
    case LockImage::Missing:
      text += "lockimage missing\n";
      break;
    case LockImage::Corrupt:
      text += "lockimage corrupt\n";
      break;
  }
  for (const TimedAction& timed : scenario.actions) {
    text += "at " + formatSeconds(timed.time) + " " + actionText(timed.action) + "\n";
  }
  if (scenario.endTime) text += "end " + formatSeconds(*scenario.endTime) + "\n";
  return text;
}

}  // namespace sim

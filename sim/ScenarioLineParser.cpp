#include "sim/ScenarioLineParser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "sim/ScenarioParser.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

constexpr int kMaxInterfaceOrientationCount = 4;
constexpr int kMaxDragSteps = 1000;

struct Word {
  std::string text;
  bool quoted = false;
};

// Splits a line into words; a bare word starting with '#' ends the line.
bool splitWords(std::string_view line, std::vector<Word>& words, std::string& error) {
  std::size_t i = 0;
  auto isSpace = [](char c) { return c == ' ' || c == '\t'; };
  while (i < line.size()) {
    while (i < line.size() && isSpace(line[i])) ++i;
    if (i >= line.size() || line[i] == '#') break;
    Word word;
    if (line[i] == '"') {
      word.quoted = true;
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) c = line[i++];
        word.text.push_back(c);
      }
      if (!closed) {
        error = "unterminated quoted text";
        return false;
      }
      if (i < line.size() && !isSpace(line[i])) {
        error = "a quoted word must be followed by a space";
        return false;
      }
    } else {
      while (i < line.size() && !isSpace(line[i])) word.text.push_back(line[i++]);
    }
    words.push_back(std::move(word));
  }
  return true;
}

std::string quote(std::string_view text) {
  return "'" + std::string(text) + "'";
}

bool isBundleIdentifier(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '.' || c == '-' || c == '_';
    if (!ok) return false;
  }
  return true;
}

std::string joinWords(const std::vector<Word>& words, std::size_t from) {
  std::string joined;
  for (std::size_t i = from; i < words.size(); ++i) {
    if (i > from) joined.push_back(' ');
    joined += words[i].text;
  }
  return joined;
}

}  // namespace

class ScenarioLineParser::Impl {
 public:
  explicit Impl(std::string fileName) { scenario_.fileName = std::move(fileName); }

  bool parseLine(int lineNumber, std::string_view text) {
    line_ = lineNumber;
    std::vector<Word> words;
    std::string error;
    if (!splitWords(text, words, error)) return fail(error);
    if (words.empty()) return true;
    const std::string& head = words[0].text;
    if (head == "at") return parseTimed(words);
    if (head == "end") return parseEnd(words);
    const SetupStatement* statement = setupStatement(head);
    if (!statement) return fail("unknown statement " + quote(head));
    if (firstActionLine_ != 0) {
      return fail(quote(head) + " is a setup statement: it must come before the first 'at' (line " +
                  std::to_string(firstActionLine_) + ")");
    }
    if (statement->once) {
      auto [it, inserted] = setupLines_.emplace(head, line_);
      if (!inserted) {
        return fail(quote(head) + " given twice (first on line " + std::to_string(it->second) +
                    ")");
      }
    }
    return (this->*statement->parse)(words);
  }

  bool finish() {
    if (scenario_.endTime && !scenario_.actions.empty() &&
        *scenario_.endTime < scenario_.actions.back().time) {
      line_ = scenario_.endLine;
      const auto& last = scenario_.actions.back();
      return fail("end " + endText_ + " is before the last action (at " + formatSeconds(last.time) +
                  ", line " + std::to_string(last.line) + ")");
    }
    return true;
  }

  Scenario& scenario() { return scenario_; }
  const std::string& error() const { return error_; }

 private:
  bool fail(const std::string& message) {
    error_ = scenario_.fileName + ":" + std::to_string(line_) + ": " + message;
    return false;
  }
  bool usage(std::string_view form) { return fail("expected " + quote(form)); }

  bool parseChoice(const std::vector<Word>& words, std::string_view form,
                   std::initializer_list<std::string_view> choices,
                   const std::function<void(int)>& apply) {
    if (words.size() != 2) return usage(form);
    int index = 0;
    for (auto choice : choices) {
      if (words[1].text == choice) {
        apply(index);
        return true;
      }
      ++index;
    }
    return usage(form);
  }

  bool parseScreen(const std::vector<Word>& words) {
    if (words.size() != 3) return usage("screen WIDTH HEIGHT");
    double size[2];
    for (int i = 0; i < 2; ++i) {
      auto value = parseReal(words[1 + i].text);
      if (!value || *value <= 0) {
        return fail("screen: " + quote(words[1 + i].text) + " is not a positive number of points");
      }
      if (*value < kMinScreenSidePoints || *value > kMaxScreenSidePoints) {
        return fail("screen: " + words[1 + i].text + " is out of range: from " +
                    formatShortest(kMinScreenSidePoints) + " to " +
                    formatShortest(kMaxScreenSidePoints) + " points expected");
      }
      size[i] = *value;
    }
    scenario_.screenWidthPoints = size[0];
    scenario_.screenHeightPoints = size[1];
    return true;
  }

  bool parseApp(const std::vector<Word>& words) {
    if (words.size() < 2 || words.size() > 3) return usage("app BUNDLE_ID [orientations=N]");
    const std::string& id = words[1].text;
    if (!isBundleIdentifier(id)) {
      return fail("app: " + quote(id) +
                  " is not a bundle identifier (letters, digits, '.', '-' and '_')");
    }
    for (const auto& app : scenario_.apps) {
      if (app.bundleId == id) {
        return fail("app: " + quote(id) + " is installed twice (first on line " +
                    std::to_string(app.line) + ")");
      }
    }
    AppSetup app{id, 4, line_};
    if (words.size() == 3) {
      constexpr std::string_view kOption = "orientations=";
      std::string_view option = words[2].text;
      if (!option.starts_with(kOption)) {
        return fail("app: unknown option " + quote(option) + " (expected orientations=N)");
      }
      auto count = parseInteger(option.substr(kOption.size()));
      if (!count || *count < 0 || *count > kMaxInterfaceOrientationCount) {
        return fail("app: " + quote(option) + " needs a number of orientations from 0 to 4");
      }
      app.orientationCount = static_cast<int>(*count);
    }
    scenario_.apps.push_back(app);
    return true;
  }

  // `KEY VALUE` at words[at], words[at + 1] for `pref`, `prefs write` and `settings set`.
  std::optional<Foundation::Value> keyValue(const std::vector<Word>& words, std::size_t at,
                                            std::string_view statement, std::string_view form) {
    if (words.size() != at + 2) {
      std::string hint;
      if (words.size() == at + 1 &&
          ScenarioParser::typeWordOfKey(words[at].text) == "ColorPicker") {
        hint = " (a colour that starts with '#' needs quotes: \"#FF0000:1\")";
      }
      fail("expected " + quote(form) + hint);
      return std::nullopt;
    }
    // Keys and text reach the preferences file as C strings, which end at a NUL.
    for (std::size_t i = at; i < at + 2; ++i) {
      if (words[i].text.find('\0') != std::string::npos) {
        fail(std::string(statement) + ": the " + (i == at ? "key" : "value") +
             " holds a NUL character, which a preferences file cannot keep");
        return std::nullopt;
      }
    }
    std::string error;
    auto value = ScenarioParser::typedPrefValue(words[at].text, words[at + 1].text, error);
    if (!value) fail(std::string(statement) + ": " + error);
    return value;
  }

  bool parsePref(const std::vector<Word>& words) {
    auto value = keyValue(words, 1, "pref", "pref KEY VALUE");
    if (!value) return false;
    scenario_.prefs.set(words[1].text, std::move(*value));
    scenario_.hasPrefs = true;
    return true;
  }

  std::optional<double> parseTime(const std::string& text, std::string_view statement) {
    auto value = parseReal(text);
    if (!value || *value < 0) {
      fail(std::string(statement) + ": " + quote(text) +
           " is not a time in seconds (a number >= 0)");
      return std::nullopt;
    }
    if (*value > kMaxDeviceTimeSeconds) {
      fail(std::string(statement) + ": " + text + " is beyond the longest run: times up to " +
           formatFixed(kMaxDeviceTimeSeconds, 0) + " s (about 11.6 days) expected");
      return std::nullopt;
    }
    return value;
  }

  bool parseEnd(const std::vector<Word>& words) {
    if (words.size() != 2) return usage("end TIME");
    if (scenario_.endTime) {
      return fail("'end' given twice (first on line " + std::to_string(scenario_.endLine) + ")");
    }
    auto t = parseTime(words[1].text, "end");
    if (!t) return false;
    scenario_.endTime = *t;
    scenario_.endLine = line_;
    endText_ = words[1].text;
    return true;
  }

  bool parseTimed(const std::vector<Word>& words) {
    if (words.size() < 3) return usage("at TIME ACTION");
    auto t = parseTime(words[1].text, "at");
    if (!t) return false;
    if (!scenario_.actions.empty() && *t < scenario_.actions.back().time) {
      const auto& previous = scenario_.actions.back();
      return fail("at " + words[1].text + " is earlier than the action before it (at " +
                  formatSeconds(previous.time) + ", line " + std::to_string(previous.line) + ")");
    }
    if (firstActionLine_ == 0) firstActionLine_ = line_;
    auto action = parseAction(words);
    if (!action) return false;
    scenario_.actions.push_back(TimedAction{*t, line_, std::move(*action)});
    return true;
  }

  std::optional<bool> onOff(const std::vector<Word>& words, std::string_view form) {
    if (words.size() == 4 && words[3].text == "on") return true;
    if (words.size() == 4 && words[3].text == "off") return false;
    usage(form);
    return std::nullopt;
  }

  std::optional<double> angle(const std::string& text, std::string_view what, double limit) {
    auto value = parseReal(text);
    if (!value) {
      fail("attitude: " + std::string(what) + " " + quote(text) + " is not a number");
      return std::nullopt;
    }
    if (std::abs(*value) > limit) {
      fail("attitude: " + std::string(what) + " " + text + " is out of range: radians from -" +
           formatFixed(limit, 4) + " to " + formatFixed(limit, 4) + " expected");
      return std::nullopt;
    }
    return value;
  }

  std::optional<std::string> installedApp(const std::string& id, std::string_view statement) {
    if (!scenario_.hasApp(id)) {
      fail(std::string(statement) + ": app " + quote(id) + " is not installed (add 'app " + id +
           "' before the first 'at')");
      return std::nullopt;
    }
    return id;
  }

  // words[0] = "at", words[1] = T, words[2] = the action's name.
  std::optional<Action> parseAction(const std::vector<Word>& words) {
    const std::string& name = words[2].text;
    const std::size_t argc = words.size() - 3;
    auto none = [&](std::string_view form) -> std::optional<Action> {
      usage(form);
      return std::nullopt;
    };
    if (name == "boot") return argc == 0 ? std::optional<Action>(BootAction{}) : none("boot");
    if (name == "home") return argc == 0 ? std::optional<Action>(HomeAction{}) : none("home");
    if (name == "respring") {
      return argc == 0 ? std::optional<Action>(RespringAction{}) : none("respring");
    }
    if (name == "tap") return argc == 0 ? std::optional<Action>(TapAction{}) : none("tap");
    if (name == "front") {
      constexpr std::string_view kForm = "front BUNDLE_ID [ORIENTATION]";
      if (argc < 1 || argc > 2) return none(kForm);
      auto id = installedApp(words[3].text, "front");
      if (!id) return std::nullopt;
      FrontAction front{*id, 1};
      if (argc == 2) {
        auto orientation = parseInteger(words[4].text);
        if (!orientation || *orientation < 1 || *orientation > 4) {
          fail("front: interface orientation " + quote(words[4].text) + " is not 1, 2, 3 or 4");
          return std::nullopt;
        }
        front.orientation = static_cast<int>(*orientation);
      }
      return front;
    }
    if (name == "devicelock") {
      auto on = onOff(words, "devicelock on|off");
      if (!on) return std::nullopt;
      return DeviceLockAction{*on};
    }
    if (name == "orientationlock") {
      auto on = onOff(words, "orientationlock on|off");
      if (!on) return std::nullopt;
      return OrientationLockAction{*on};
    }
    if (name == "attitude") {
      if (argc != 2) return none("attitude ROLL PITCH");
      auto roll = angle(words[3].text, "roll", kRollLimitRadians);
      if (!roll) return std::nullopt;
      auto pitch = angle(words[4].text, "pitch", kPitchLimitRadians);
      if (!pitch) return std::nullopt;
      return AttitudeAction{*roll, *pitch};
    }
    if (name == "turn") {
      // Shorthands for the three attitudes people mean most often.
      if (argc == 1 && words[3].text == "portrait") return AttitudeAction{0.0, 1.4};
      if (argc == 1 && words[3].text == "landscape") return AttitudeAction{1.5, 0.0};
      if (argc == 1 && words[3].text == "flat") return AttitudeAction{0.0, 0.0};
      return none("turn portrait|landscape|flat");
    }
    if (name == "touch") {
      if (argc != 2) return none("touch X Y");
      auto x = parseReal(words[3].text);
      auto y = parseReal(words[4].text);
      if (!x || !y) {
        fail("touch: " + quote(!x ? words[3].text : words[4].text) + " is not a number of points");
        return std::nullopt;
      }
      return TouchAction{*x, *y};
    }
    if (name == "drag") return parseDrag(words);
    if (name == "prefs") {
      if (argc == 1 && words[3].text == "delete") return PrefsDeleteAction{};
      if (argc >= 1 && words[3].text == "write") {
        auto value = keyValue(words, 4, "prefs write", "prefs write KEY VALUE");
        if (!value) return std::nullopt;
        return PrefsWriteAction{words[4].text, std::move(*value)};
      }
      fail("expected 'prefs write KEY VALUE' or 'prefs delete'");
      return std::nullopt;
    }
    if (name == "settings") return parseSettings(words);
    if (name == "alert") {
      if (argc == 0) return none("alert ACTION_TITLE");
      return AlertAction{joinWords(words, 3)};
    }
    fail("unknown action " + quote(name));
    return std::nullopt;
  }

  std::optional<Action> parseDrag(const std::vector<Word>& words) {
    constexpr std::string_view kForm = "drag DX DY [steps=N] [cancel]";
    if (words.size() < 5) {
      usage(kForm);
      return std::nullopt;
    }
    DragAction drag;
    auto dx = parseReal(words[3].text);
    auto dy = parseReal(words[4].text);
    if (!dx || !dy) {
      fail("drag: " + quote(!dx ? words[3].text : words[4].text) + " is not a number of points");
      return std::nullopt;
    }
    drag.dx = *dx;
    drag.dy = *dy;
    bool sawSteps = false;
    bool sawCancel = false;
    for (std::size_t i = 5; i < words.size(); ++i) {
      std::string_view option = words[i].text;
      constexpr std::string_view kSteps = "steps=";
      if (option == "cancel") {
        if (sawCancel) {
          fail("drag: 'cancel' given twice");
          return std::nullopt;
        }
        sawCancel = true;
        drag.cancel = true;
      } else if (option.starts_with(kSteps)) {
        if (sawSteps) {
          fail("drag: 'steps=' given twice");
          return std::nullopt;
        }
        sawSteps = true;
        auto steps = parseInteger(option.substr(kSteps.size()));
        if (!steps || *steps < 1 || *steps > kMaxDragSteps) {
          fail("drag: " + quote(option) + " needs a whole number of steps from 1 to " +
               std::to_string(kMaxDragSteps));
          return std::nullopt;
        }
        drag.steps = static_cast<int>(*steps);
      } else {
        fail("drag: unknown option " + quote(option) + " (expected steps=N or cancel)");
        return std::nullopt;
      }
    }
    return drag;
  }

  std::optional<Action> parseSettings(const std::vector<Word>& words) {
    const std::size_t argc = words.size() - 3;
    const std::string sub = argc > 0 ? words[3].text : std::string();
    if (sub == "open" && argc == 1) return SettingsOpenAction{};
    if (sub == "close" && argc == 1) return SettingsCloseAction{};
    if (sub == "set") {
      auto value = keyValue(words, 4, "settings set", "settings set KEY VALUE");
      if (!value) return std::nullopt;
      return SettingsSetAction{words[4].text, std::move(*value)};
    }
    if (sub == "press" && argc >= 2) return SettingsPressAction{joinWords(words, 4)};
    if (sub == "pick") {
      SettingsPickAction pick;
      for (std::size_t i = 4; i < words.size(); ++i) {
        auto id = installedApp(words[i].text, "settings pick");
        if (!id) return std::nullopt;
        pick.bundleIds.push_back(*id);
      }
      return pick;
    }
    fail("expected 'settings open|close|set KEY VALUE|press LABEL|pick BUNDLE_ID...'");
    return std::nullopt;
  }

  // The setup statements; `once`: a second one on another line is an error.
  struct SetupStatement {
    std::string_view head;
    bool once;
    bool (Impl::*parse)(const std::vector<Word>& words);
  };
  static const SetupStatement* setupStatement(std::string_view head) {
    static constexpr SetupStatement kSetup[] = {
        {"screen", true, &Impl::parseScreen},
        {"idiom", true, &Impl::parseIdiom},
        {"gyro", true, &Impl::parseGyro},
        {"motion", true, &Impl::parseMotion},
        {"app", false, &Impl::parseApp},
        {"pref", false, &Impl::parsePref},
        {"lockimage", true, &Impl::parseLockImage},
    };
    for (const SetupStatement& statement : kSetup) {
      if (statement.head == head) return &statement;
    }
    return nullptr;
  }

  bool parseIdiom(const std::vector<Word>& words) {
    return parseChoice(words, "idiom phone|pad", {"phone", "pad"},
                       [&](int i) { scenario_.idiom = i == 0 ? Idiom::Phone : Idiom::Pad; });
  }
  bool parseGyro(const std::vector<Word>& words) {
    return parseChoice(words, "gyro yes|no", {"yes", "no"},
                       [&](int i) { scenario_.gyroAvailable = i == 0; });
  }
  bool parseMotion(const std::vector<Word>& words) {
    return parseChoice(words, "motion yes|no", {"yes", "no"},
                       [&](int i) { scenario_.deviceMotionAvailable = i == 0; });
  }
  bool parseLockImage(const std::vector<Word>& words) {
    return parseChoice(words, "lockimage ok|missing|corrupt", {"ok", "missing", "corrupt"},
                       [&](int i) { scenario_.lockImage = static_cast<LockImage>(i); });
  }

  Scenario scenario_;
  std::string error_;
  int line_ = 0;
  int firstActionLine_ = 0;
  std::map<std::string, int> setupLines_;
  std::string endText_;
};

ScenarioLineParser::ScenarioLineParser(std::string fileName)
    : impl_(std::make_unique<Impl>(std::move(fileName))) {}

ScenarioLineParser::~ScenarioLineParser() = default;

bool ScenarioLineParser::parseLine(int lineNumber, std::string_view text) {
  return impl_->parseLine(lineNumber, text);
}

bool ScenarioLineParser::finish() {
  return impl_->finish();
}

Scenario& ScenarioLineParser::scenario() {
  return impl_->scenario();
}

const std::string& ScenarioLineParser::error() const {
  return impl_->error();
}

}  // namespace sim

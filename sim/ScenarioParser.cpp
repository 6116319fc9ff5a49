#include "sim/ScenarioParser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "sim/ScenarioLineParser.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

// The reader's order: the first type word found in a key decides.
constexpr std::array<std::string_view, 6> kTypeWords = {"Toggle", "Segmented",      "ColorPicker",
                                                        "Slider", "MultipleChoice", "Other"};

std::string quote(std::string_view text) {
  return "'" + std::string(text) + "'";
}

}  // namespace

std::optional<std::string_view> ScenarioParser::typeWordOfKey(std::string_view key) {
  for (auto word : kTypeWords) {
    if (key.find(word) != std::string_view::npos) return word;
  }
  return std::nullopt;
}

std::optional<Foundation::Value> ScenarioParser::typedPrefValue(std::string_view key,
                                                                std::string_view text,
                                                                std::string& error) {
  auto word = typeWordOfKey(key);
  if (!word) {
    error = quote(key) +
            " has no type word (Toggle, Segmented, ColorPicker, Slider, MultipleChoice or Other)";
    return std::nullopt;
  }
  auto wrong = [&](std::string_view expected) {
    error = quote(key) + " (type " + std::string(*word) + "): expected " + std::string(expected) +
            ", got " + quote(text);
    return std::nullopt;
  };
  if (*word == "Toggle") {
    if (text == "true") return Foundation::Value::boolean(true);
    if (text == "false") return Foundation::Value::boolean(false);
    return wrong("true or false");
  }
  if (*word == "Segmented") {
    auto value = parseInteger(text);
    if (!value) return wrong("a whole number");
    return Foundation::Value::integer(*value);
  }
  if (*word == "ColorPicker") return Foundation::Value::string(std::string(text));
  if (*word == "Slider") {
    auto value = parseReal(text);
    if (!value) return wrong("a number");
    return Foundation::Value::real(*value);
  }
  if (*word == "MultipleChoice") {
    Foundation::Array items;
    if (text.empty()) return Foundation::Value::array(std::move(items));
    for (std::string_view item : splitString(text, ',')) {
      item = trimSpaces(item);
      if (item.empty()) return wrong("a comma-separated list without empty items");
      items.push_back(Foundation::Value::string(std::string(item)));
    }
    return Foundation::Value::array(std::move(items));
  }
  // "Other": a point x,y, stored the way the tweak saves a point.
  auto parts = splitString(text, ',');
  if (parts.size() != 2) return wrong("X,Y (two numbers)");
  auto x = parseReal(trimSpaces(parts[0]));
  auto y = parseReal(trimSpaces(parts[1]));
  if (!x || !y) return wrong("X,Y (two numbers)");
  Foundation::Dictionary point;
  point.set("x", Foundation::Value::real(*x));
  point.set("y", Foundation::Value::real(*y));
  return Foundation::Value::dictionary(std::move(point));
}

ScenarioParser::Result ScenarioParser::parse(std::string_view text, const std::string& fileName) {
  Result result;
  if (text.size() > kMaxScenarioBytes) {
    result.error = fileName + ":1: too large for a scenario (more than " +
                   std::to_string(kMaxScenarioBytes) + " bytes)";
    return result;
  }
  if (auto bad = firstInvalidUtf8(text); bad != std::string_view::npos) {
    auto line = 1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(bad), '\n');
    result.error = fileName + ":" + std::to_string(line) + ": not valid UTF-8 text";
    return result;
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  ScenarioLineParser parser(fileName);
  int lineNumber = 0;
  for (std::string_view line : splitString(text, '\n')) {
    ++lineNumber;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!parser.parseLine(lineNumber, line)) {
      result.error = parser.error();
      return result;
    }
  }
  if (!parser.finish()) {
    result.error = parser.error();
    return result;
  }
  result.scenario = std::move(parser.scenario());
  return result;
}

ScenarioParser::Result ScenarioParser::parseFile(const std::string& path) {
  std::string text;
  std::string error;
  if (!readWholeFile(path, kMaxScenarioBytes, text, error)) {
    Result result;
    result.error = path + ": " + error;
    return result;
  }
  return parse(text, path);
}

}  // namespace sim

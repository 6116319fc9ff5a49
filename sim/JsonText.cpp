#include "sim/JsonText.h"

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "sim/TextUtilities.h"

namespace sim::JsonText {
namespace {

using nlohmann::ordered_json;

std::string base64(const Foundation::Data& data) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((data.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < data.size(); i += 3) {
    std::uint32_t n = (data[i] << 16) | (data[i + 1] << 8) | data[i + 2];
    out.push_back(kAlphabet[(n >> 18) & 63]);
    out.push_back(kAlphabet[(n >> 12) & 63]);
    out.push_back(kAlphabet[(n >> 6) & 63]);
    out.push_back(kAlphabet[n & 63]);
  }
  if (std::size_t rest = data.size() - i; rest > 0) {
    std::uint32_t n = data[i] << 16;
    if (rest == 2) n |= data[i + 1] << 8;
    out.push_back(kAlphabet[(n >> 18) & 63]);
    out.push_back(kAlphabet[(n >> 12) & 63]);
    out.push_back(rest == 2 ? kAlphabet[(n >> 6) & 63] : '=');
    out.push_back('=');
  }
  return out;
}

// nlohmann's replacement of text that is not UTF-8 differs from validUtf8() (it gives one
// U+FFFD for a cut-short sequence, validUtf8() one for each byte); trees built here hold valid
// UTF-8 already, so it only guards trees built elsewhere against an exception.
constexpr auto kReplace = ordered_json::error_handler_t::replace;

void appendString(std::string& out, const ordered_json& string) {
  const std::string text = string.dump(-1, ' ', false, kReplace);
  // nlohmann writes DEL as it is; the timeline has always escaped it. 0x7F is never part of a
  // longer UTF-8 sequence, so every one in the text is a DEL character of the string.
  for (char c : text) {
    if (c == '\x7F') {
      out += "\\u007f";
    } else {
      out.push_back(c);
    }
  }
}

void appendReal(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  out += formatShortest(value);
}

}  // namespace

std::string validUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (true) {
    const std::size_t bad = firstInvalidUtf8(text);
    out.append(text.substr(0, bad));
    if (bad == std::string_view::npos) return out;
    out += "\xEF\xBF\xBD";
    text.remove_prefix(bad + 1);
  }
}

ordered_json fromValue(const Foundation::Value& value) {
  using Kind = Foundation::Value::Kind;
  switch (value.kind()) {
    case Kind::Null:
      return nullptr;
    case Kind::Boolean:
      return value.boolValue();
    case Kind::Integer:
      return static_cast<std::int64_t>(value.longLongValue());
    case Kind::Real:
      return value.doubleValue();
    case Kind::String:
      return validUtf8(*value.stringValue());
    case Kind::Data:
      return base64(*value.dataValue());
    case Kind::Date:
      return value.dateValue()->secondsSinceReferenceDate;
    case Kind::Array: {
      ordered_json array = ordered_json::array();
      for (const auto& element : *value.arrayValue()) array.push_back(fromValue(element));
      return array;
    }
    case Kind::Dictionary: {
      ordered_json object = ordered_json::object();
      appendMembers(object, *value.dictionaryValue());
      return object;
    }
    case Kind::Point: {
      const CGPoint point = *value.pointValue();
      return ordered_json::array({point.x, point.y});
    }
    case Kind::Color: {
      const auto color = *value.colorValue();
      return ordered_json::array({color.red(), color.green(), color.blue(), color.alpha()});
    }
  }
  return nullptr;
}

void appendMembers(ordered_json& object, const Foundation::Dictionary& fields) {
  if (!object.is_object()) object = ordered_json::object();
  auto& members = object.get_ref<ordered_json::object_t&>();
  members.reserve(members.size() + fields.size());
  for (const auto& [key, element] : fields)
    members.emplace_back(validUtf8(key), fromValue(element));
}

void append(std::string& out, const ordered_json& json) {
  using Type = ordered_json::value_t;
  switch (json.type()) {
    case Type::object: {
      out.push_back('{');
      bool first = true;
      for (const auto& [key, element] : json.get_ref<const ordered_json::object_t&>()) {
        if (!first) out.push_back(',');
        first = false;
        appendString(out, ordered_json(key));
        out.push_back(':');
        append(out, element);
      }
      out.push_back('}');
      return;
    }
    case Type::array: {
      out.push_back('[');
      bool first = true;
      for (const auto& element : json) {
        if (!first) out.push_back(',');
        first = false;
        append(out, element);
      }
      out.push_back(']');
      return;
    }
    case Type::string:
      appendString(out, json);
      return;
    case Type::number_float:
      appendReal(out, json.get<double>());
      return;
    case Type::discarded:
      out += "null";
      return;
    default:  // null, booleans, integers, binary
      out += json.dump();
      return;
  }
}

std::string dump(const ordered_json& json) {
  std::string out;
  append(out, json);
  return out;
}

}  // namespace sim::JsonText

#include "sim/JsonText.h"

#include <array>
#include <cmath>

#include "sim/TextUtilities.h"

namespace sim::JsonText {
namespace {

void appendBase64(std::string& out, const Foundation::Data& data) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  out.push_back('"');
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
  out.push_back('"');
}

}  // namespace

void appendString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  while (!text.empty()) {
    std::size_t bad = firstInvalidUtf8(text);
    std::string_view good = text.substr(0, bad);
    for (char c : good) {
      auto byte = static_cast<unsigned char>(c);
      switch (c) {
        case '"':
          out += "\\\"";
          break;
        case '\\':
          out += "\\\\";
          break;
        case '\n':
          out += "\\n";
          break;
        case '\r':
          out += "\\r";
          break;
        case '\t':
          out += "\\t";
          break;
        case '\b':
          out += "\\b";
          break;
        case '\f':
          out += "\\f";
          break;
        default:
          if (byte < 0x20 || byte == 0x7F) {
            out += "\\u00";
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 15]);
          } else {
            out.push_back(c);
          }
      }
    }
    if (bad == std::string_view::npos) break;
    out += "\xEF\xBF\xBD";  // U+FFFD for the byte that is not UTF-8
    text.remove_prefix(bad + 1);
  }
  out.push_back('"');
}

void appendNumber(std::string& out, double value) {
  if (!std::isfinite(value)) {
    out += "null";
    return;
  }
  out += formatShortest(value);
}

void appendValue(std::string& out, const Foundation::Value& value) {
  using Kind = Foundation::Value::Kind;
  switch (value.kind()) {
    case Kind::Null:
      out += "null";
      return;
    case Kind::Boolean:
      out += value.boolValue() ? "true" : "false";
      return;
    case Kind::Integer:
      out += std::to_string(value.longLongValue());
      return;
    case Kind::Real:
      appendNumber(out, value.doubleValue());
      return;
    case Kind::String:
      appendString(out, *value.stringValue());
      return;
    case Kind::Data:
      appendBase64(out, *value.dataValue());
      return;
    case Kind::Date:
      appendNumber(out, value.dateValue()->secondsSinceReferenceDate);
      return;
    case Kind::Array: {
      out.push_back('[');
      bool first = true;
      for (const auto& element : *value.arrayValue()) {
        if (!first) out.push_back(',');
        first = false;
        appendValue(out, element);
      }
      out.push_back(']');
      return;
    }
    case Kind::Dictionary: {
      out.push_back('{');
      bool first = true;
      for (const auto& [key, element] : *value.dictionaryValue()) {
        if (!first) out.push_back(',');
        first = false;
        appendString(out, key);
        out.push_back(':');
        appendValue(out, element);
      }
      out.push_back('}');
      return;
    }
    case Kind::Point: {
      auto point = *value.pointValue();
      out.push_back('[');
      appendNumber(out, point.x);
      out.push_back(',');
      appendNumber(out, point.y);
      out.push_back(']');
      return;
    }
    case Kind::Color: {
      auto color = *value.colorValue();
      out.push_back('[');
      appendNumber(out, color.red());
      out.push_back(',');
      appendNumber(out, color.green());
      out.push_back(',');
      appendNumber(out, color.blue());
      out.push_back(',');
      appendNumber(out, color.alpha());
      out.push_back(']');
      return;
    }
  }
  out += "null";
}

}  // namespace sim::JsonText

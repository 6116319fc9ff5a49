#include "sim/TextTimelinePrinter.h"

#include "sim/JsonText.h"
#include "sim/TextUtilities.h"

namespace sim {
namespace {

constexpr std::size_t kTimeColumnWidth = 10;
constexpr std::size_t kNameColumnWidth = 13;

bool isPlainWord(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if (byte <= ' ' || c == '"' || c == '=' || byte == 0x7F) return false;
  }
  return true;
}

void appendPlainValue(std::string& out, const Foundation::Value& value) {
  if (const std::string* text = value.stringValue(); text && isPlainWord(*text)) {
    out += *text;
    return;
  }
  JsonText::appendValue(out, value);
}

}  // namespace

std::string TextTimelinePrinter::format(const TimelineEvent& event) {
  std::string line = formatFixed(event.time, 3);
  if (line.size() < kTimeColumnWidth) line.insert(0, kTimeColumnWidth - line.size(), ' ');
  line += "  ";
  line += event.name;
  if (!event.fields.empty() && event.name.size() < kNameColumnWidth) {
    line.append(kNameColumnWidth - event.name.size(), ' ');
  }
  for (const auto& [key, value] : event.fields) {
    line.push_back(' ');
    line += key;
    line.push_back('=');
    appendPlainValue(line, value);
  }
  return line;
}

void TextTimelinePrinter::print(const TimelineEvent& event) {
  line_ = format(event);
  line_.push_back('\n');
  out_ << line_;
}

void TextTimelinePrinter::finish() {
  out_.flush();
}

}  // namespace sim

#include "sim/JsonLinesPrinter.h"

#include "sim/JsonText.h"
#include "sim/TextUtilities.h"

namespace sim {

constexpr int kTimeDecimals = 3;

std::string JsonLinesPrinter::format(const TimelineEvent& event) {
  std::string line = "{\"t\":";
  line += formatFixed(event.time, kTimeDecimals);
  line += ",\"ev\":";
  JsonText::appendString(line, event.name);
  for (const auto& [key, value] : event.fields) {
    line.push_back(',');
    JsonText::appendString(line, key);
    line.push_back(':');
    JsonText::appendValue(line, value);
  }
  line.push_back('}');
  return line;
}

void JsonLinesPrinter::print(const TimelineEvent& event) {
  line_ = format(event);
  line_.push_back('\n');
  out_ << line_;
}

void JsonLinesPrinter::finish() {
  out_.flush();
}

}  // namespace sim

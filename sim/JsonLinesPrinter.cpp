#include "sim/JsonLinesPrinter.h"

#include <nlohmann/json.hpp>

#include "sim/JsonText.h"
#include "sim/TextUtilities.h"

namespace sim {

constexpr int kTimeDecimals = 3;

std::string JsonLinesPrinter::format(const TimelineEvent& event) {
  nlohmann::ordered_json body = nlohmann::ordered_json::object();
  body.get_ref<nlohmann::ordered_json::object_t&>().emplace_back("ev",
                                                                 JsonText::validUtf8(event.name));
  JsonText::appendMembers(body, event.fields);
  // "t" has a fixed number of decimals, which no JSON number type keeps: it is written ahead of
  // the body's members.
  std::string line = "{\"t\":";
  line += formatFixed(event.time, kTimeDecimals);
  line.push_back(',');
  const std::string members = JsonText::dump(body);
  line.append(members, 1, std::string::npos);
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

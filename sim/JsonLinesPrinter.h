// The timeline as JSON Lines (`--jsonl`): one JSON object a line, starting with "t" (seconds
// of device time, exactly 3 decimals) and "ev" (the event's name), then the event's fields in
// order:  {"t":0.300,"ev":"orientation","value":1}
#pragma once

#include <ostream>
#include <string>

#include "sim/TimelinePrinter.h"

namespace sim {

class JsonLinesPrinter : public TimelinePrinter {
 public:
  explicit JsonLinesPrinter(std::ostream& out) : out_(out) {}
  void print(const TimelineEvent& event) override;
  void finish() override;

  // The line for `event`, without the newline.
  static std::string format(const TimelineEvent& event);

 private:
  std::ostream& out_;
  std::string line_;
};

}  // namespace sim

// The simulator's scenario parser on any text: never a crash, and either a scenario or one
// message naming the file and a line.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "sim/ScenarioParser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const sim::ScenarioParser::Result result = sim::ScenarioParser::parse(
      std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.scn");
  if (result.ok() == !result.error.empty()) __builtin_trap();
  if (!result.ok() && result.error.rfind("fuzz.scn:", 0) != 0) __builtin_trap();
  if (result.ok()) {
    // Actions come in the order of their times.
    double previous = 0;
    for (const auto& timed : result.scenario->actions) {
      if (timed.time < previous) __builtin_trap();
      previous = timed.time;
    }
  }
  return 0;
}

// `gyrowhirl-sim serve [SCENARIO] [--port N] [--host ADDR]`: the simulated phone live in a web
// browser. Prints the page's address and serves until interrupted (Ctrl-C, SIGTERM), then
// ends every session's device. Each page gets a device set up by SCENARIO, whose timed
// actions play as its clock passes them; without one, the showcase's phone as it stands at
// the start (its apps and settings, booted, the reading app in front, the lock on).
#pragma once

#include <ostream>

#include "sim/Scenario.h"
#include "sim/app/CommandLine.h"

namespace sim {

class ServeCommand {
 public:
  static constexpr int kDefaultPort = 8080;

  // Exit status as SimulatorApp's: 0 after an interrupt, 2 for a bad scenario or address.
  static int main(const CommandLineOptions& options, std::ostream& out, std::ostream& err);
  // The set-up without a scenario; nullopt when the built-in showcase cannot be read.
  static std::optional<Scenario> defaultScenario();
};

}  // namespace sim

// The simulator's commands behind the command line (see CommandLine for the syntax): parses
// the arguments, reads and checks the scenario and trace before anything runs, plays them
// and prints the timeline.
//
// Exit status: 0 done; 2 bad usage or a bad scenario or trace, with one message naming
// FILE:LINE on `err` (nothing runs then); 1 when the run itself fails (the device root cannot
// be made, say).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace sim {

class SimulatorApp {
 public:
  static constexpr int kExitSuccess = 0;
  static constexpr int kExitFailure = 1;
  static constexpr int kExitBadInput = 2;

  // `arguments` excludes the program name.
  static int main(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

  // The scenario run when no command is given: "examples/showcase.scn" of the project, when
  // it exists. Without it, no command is bad usage.
  static std::optional<std::string> showcaseScenarioPath();
};

}  // namespace sim

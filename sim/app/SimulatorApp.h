// The simulator's commands behind the command line (see CommandLine for the syntax): parses
// the arguments, reads and checks the scenario and trace before anything runs, plays them,
// prints the timeline, and draws the pictures asked for.
//
// Exit status: 0 done; 2 bad usage or a bad scenario or trace, with one message naming
// FILE:LINE on `err` (nothing runs then); 1 when the run itself fails (the device root cannot
// be made, a picture cannot be written).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace sim {

class SimulatorApp {
 public:
  static constexpr int kExitSuccess = 0;
  static constexpr int kExitFailure = 1;
  static constexpr int kExitBadInput = 2;

  // Where the output goes, as the program finds it at start.
  struct Terminal {
    bool stdoutIsTerminal = false;  // colours in the human timeline
    bool stderrIsTerminal = false;  // a progress line for long runs
    bool coloursDisabled = false;   // NO_COLOR is set
  };

  // `arguments` excludes the program name.
  static int main(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  const Terminal& terminal);
  // As above, for output that is no terminal.
  static int main(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);
};

}  // namespace sim

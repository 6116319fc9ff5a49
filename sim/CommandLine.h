// The command line of gyrowhirl-sim:
//   gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log]
//   gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]
//   gyrowhirl-sim --help
//   gyrowhirl-sim                      (the showcase, when the project has one)
// Options may stand anywhere after the command; "--device-root=DIR" is accepted too.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct CommandLineOptions {
  enum class Command { Help, Run, Replay, Showcase };
  Command command = Command::Help;
  std::string scenarioPath;  // run; replay (optional)
  std::string tracePath;     // replay
  std::optional<std::string> deviceRoot;
  bool jsonLines = false;
  bool log = false;
};

class CommandLine {
 public:
  struct Result {
    std::optional<CommandLineOptions> options;
    std::string error;  // what is wrong with the arguments, when there are no options
  };

  // `arguments` excludes the program name.
  static Result parse(const std::vector<std::string>& arguments);
  static std::string usage();
};

}  // namespace sim

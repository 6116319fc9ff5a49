// The command line of gyrowhirl-sim:
//   gyrowhirl-sim [--render DIR] [--jsonl] [--log] [--no-color]     the built-in showcase
//   gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log] [--render DIR] [--no-color]
//   gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]
//                 [--render DIR] [--no-color]
//   gyrowhirl-sim plot TRACE.csv [SCENARIO] -o FILE.png|FILE.svg [--device-root DIR]
//   gyrowhirl-sim --help
//   gyrowhirl-sim --version
// Options may stand anywhere after the command; "--option=VALUE" is accepted for every option
// that takes a value. A mistyped command is answered with the command it most likely meant.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct CommandLineOptions {
  enum class Command { Help, Version, Run, Replay, Plot, Showcase };
  Command command = Command::Help;
  std::string scenarioPath;  // run; replay and plot (optional)
  std::string tracePath;     // replay, plot
  std::optional<std::string> deviceRoot;
  std::optional<std::string> renderDirectory;  // --render: run, replay, showcase
  std::optional<std::string> outputPath;       // -o: plot
  bool jsonLines = false;
  bool log = false;
  bool noColour = false;  // --no-color: plain text even on a terminal
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
  // "gyrowhirl-sim VERSION", the project's version.
  static std::string versionLine();
};

}  // namespace sim

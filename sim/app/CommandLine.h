// The command line of gyrowhirl-sim:
//   gyrowhirl-sim [--render DIR] [--jsonl] [--log] [--no-color]     the built-in showcase
//   gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log] [--render DIR] [--no-color]
//   gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]
//                 [--render DIR] [--no-color]
//   gyrowhirl-sim plot TRACE.csv [SCENARIO] -o FILE.png|FILE.svg [--device-root DIR]
//   gyrowhirl-sim serve [SCENARIO] [--port N] [--host ADDR]
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
  enum class Command { Help, Version, Run, Replay, Plot, Showcase, Serve };
  Command command = Command::Help;
  std::string scenarioPath;  // run; replay, plot and serve (optional)
  std::string tracePath;     // replay, plot
  std::optional<std::string> deviceRoot;
  std::optional<std::string> renderDirectory;  // --render: run, replay, showcase
  std::optional<std::string> outputPath;       // -o: plot
  std::optional<std::string> host;             // --host: serve
  std::optional<std::string> portText;         // --port as given: serve
  std::optional<int> port;                     // ... read: 0 to 65535
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

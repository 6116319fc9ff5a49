#include "sim/CommandLine.h"

namespace sim {

std::string CommandLine::usage() {
  return "usage:\n"
         "  gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log]\n"
         "  gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]\n"
         "  gyrowhirl-sim --help\n"
         "\n"
         "run      plays a scenario file (.scn) on a simulated phone and prints its timeline\n"
         "replay   replays a recorded attitude trace (CSV with columns t, roll, pitch);\n"
         "         an optional scenario sets the device up and adds its timed actions\n"
         "\n"
         "--device-root DIR   keep the simulated device's files in DIR (kept afterwards);\n"
         "                    without it a temporary folder is used and removed\n"
         "--jsonl             print the timeline as JSON Lines\n"
         "--log               also put the tweak library's log lines into the timeline\n"
         "\n"
         "exit status: 0 done, 2 bad usage or a bad scenario or trace (FILE:LINE: reason)\n";
}

CommandLine::Result CommandLine::parse(const std::vector<std::string>& arguments) {
  Result result;
  CommandLineOptions options;
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      options.command = CommandLineOptions::Command::Help;
      result.options = options;
      return result;
    }
    if (argument == "--jsonl") {
      options.jsonLines = true;
    } else if (argument == "--log") {
      options.log = true;
    } else if (argument == "--device-root" || argument.starts_with("--device-root=")) {
      std::string value;
      if (argument == "--device-root") {
        if (i + 1 >= arguments.size()) {
          result.error = "--device-root needs a folder";
          return result;
        }
        value = arguments[++i];
      } else {
        value = argument.substr(std::string("--device-root=").size());
      }
      if (value.empty()) {
        result.error = "--device-root needs a folder";
        return result;
      }
      if (options.deviceRoot) {
        result.error = "--device-root given twice";
        return result;
      }
      options.deviceRoot = value;
    } else if (argument.size() > 1 && argument.front() == '-') {
      result.error = "unknown option '" + argument + "'";
      return result;
    } else {
      positional.push_back(argument);
    }
  }
  if (positional.empty()) {
    // No command: the showcase, with whatever options were given.
    options.command = CommandLineOptions::Command::Showcase;
    result.options = options;
    return result;
  }
  const std::string& command = positional[0];
  if (command == "run") {
    if (positional.size() != 2) {
      result.error =
          positional.size() < 2 ? "run needs a scenario file" : "run takes one scenario file";
      return result;
    }
    options.command = CommandLineOptions::Command::Run;
    options.scenarioPath = positional[1];
  } else if (command == "replay") {
    if (positional.size() < 2 || positional.size() > 3) {
      result.error = positional.size() < 2 ? "replay needs a trace file (CSV)"
                                           : "replay takes a trace file and at most one scenario";
      return result;
    }
    options.command = CommandLineOptions::Command::Replay;
    options.tracePath = positional[1];
    if (positional.size() == 3) options.scenarioPath = positional[2];
  } else if (command == "help") {
    options.command = CommandLineOptions::Command::Help;
  } else {
    result.error = "unknown command '" + command + "'";
    return result;
  }
  result.options = options;
  return result;
}

}  // namespace sim

#include "sim/CommandLine.h"

#include <string_view>

namespace sim {
namespace {

// An option that takes a value: its spellings and what a missing value is called.
struct ValueOption {
  std::string_view longName;   // "--render"
  std::string_view shortName;  // "-o", or empty
  std::string_view needs;      // "a folder"
  std::optional<std::string> CommandLineOptions::*member;
};

constexpr ValueOption kValueOptions[] = {
    {"--device-root", "", "a folder", &CommandLineOptions::deviceRoot},
    {"--render", "", "a folder", &CommandLineOptions::renderDirectory},
    {"--output", "-o", "a file name (.png or .svg)", &CommandLineOptions::outputPath},
};

}  // namespace

std::string CommandLine::usage() {
  return "usage:\n"
         "  gyrowhirl-sim [--render DIR] [--jsonl] [--log] [--no-color]\n"
         "  gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log] [--render DIR]\n"
         "  gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]\n"
         "                [--render DIR]\n"
         "  gyrowhirl-sim plot TRACE.csv [SCENARIO] -o FILE.png|FILE.svg [--device-root DIR]\n"
         "  gyrowhirl-sim --help\n"
         "\n"
         "(no command) plays the built-in showcase: the whole story on a simulated phone\n"
         "run      plays a scenario file (.scn) on a simulated phone and prints its timeline\n"
         "replay   replays a recorded attitude trace (CSV with columns t, roll, pitch);\n"
         "         an optional scenario sets the device up and adds its timed actions\n"
         "plot     replays a trace and draws roll and pitch over time with the classifier's\n"
         "         bands, the reports and the suggestions (PNG or SVG by the file's extension)\n"
         "\n"
         "--device-root DIR   keep the simulated device's files in DIR (kept afterwards);\n"
         "                    without it a temporary folder is used and removed\n"
         "--jsonl             print the timeline as JSON Lines\n"
         "--log               also put the tweak library's log lines into the timeline\n"
         "--render DIR        write a PNG picture of the phone at every visible change into\n"
         "                    DIR, and DIR/storyboard.png with the key frames\n"
         "-o, --output FILE   where plot writes its picture\n"
         "--no-color          no colours, even on a terminal (also: NO_COLOR set)\n"
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
      continue;
    }
    if (argument == "--log") {
      options.log = true;
      continue;
    }
    if (argument == "--no-color" || argument == "--no-colour") {
      options.noColour = true;
      continue;
    }
    const ValueOption* matched = nullptr;
    std::optional<std::string> value;
    for (const ValueOption& option : kValueOptions) {
      const std::string equals = std::string(option.longName) + "=";
      if (argument == option.longName ||
          (!option.shortName.empty() && argument == option.shortName)) {
        matched = &option;
        if (i + 1 < arguments.size()) value = arguments[++i];
      } else if (argument.starts_with(equals)) {
        matched = &option;
        value = argument.substr(equals.size());
      }
      if (matched) break;
    }
    if (matched) {
      if (!value || value->empty()) {
        result.error = std::string(matched->longName) + " needs " + std::string(matched->needs);
        return result;
      }
      if (options.*(matched->member)) {
        result.error = std::string(matched->longName) + " given twice";
        return result;
      }
      options.*(matched->member) = *value;
      continue;
    }
    if (argument.size() > 1 && argument.front() == '-') {
      result.error = "unknown option '" + argument + "'";
      return result;
    }
    positional.push_back(argument);
  }

  using Command = CommandLineOptions::Command;
  if (positional.empty()) {
    // No command: the showcase, with whatever options were given.
    options.command = Command::Showcase;
  } else if (const std::string& command = positional[0]; command == "run") {
    if (positional.size() != 2) {
      result.error =
          positional.size() < 2 ? "run needs a scenario file" : "run takes one scenario file";
      return result;
    }
    options.command = Command::Run;
    options.scenarioPath = positional[1];
  } else if (command == "replay" || command == "plot") {
    if (positional.size() < 2 || positional.size() > 3) {
      result.error = positional.size() < 2
                         ? command + " needs a trace file (CSV)"
                         : command + " takes a trace file and at most one scenario";
      return result;
    }
    options.command = command == "replay" ? Command::Replay : Command::Plot;
    options.tracePath = positional[1];
    if (positional.size() == 3) options.scenarioPath = positional[2];
  } else if (command == "help") {
    options.command = Command::Help;
    result.options = options;
    return result;
  } else {
    result.error = "unknown command '" + command + "'";
    return result;
  }

  // Options that belong to other commands.
  if (options.command == Command::Plot) {
    if (!options.outputPath) {
      result.error = "plot needs -o FILE.png or -o FILE.svg";
      return result;
    }
    if (options.renderDirectory || options.jsonLines || options.log) {
      result.error =
          "plot prints no timeline and draws no frames (--render, --jsonl and --log "
          "are for run, replay and the showcase)";
      return result;
    }
  } else if (options.outputPath) {
    result.error = "-o is for plot";
    return result;
  }
  result.options = options;
  return result;
}

}  // namespace sim

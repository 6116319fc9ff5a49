#include "sim/app/CommandLine.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <string_view>

namespace sim {
namespace {

using Command = CommandLineOptions::Command;

// An option that takes a value: its spellings and what a missing value is called.
struct ValueOption {
  std::string_view names;     // as CLI11 takes them: "-o,--output"
  std::string_view longName;  // "--output", for messages
  std::string_view needs;     // "a folder"
  std::optional<std::string> CommandLineOptions::*member;
};

constexpr ValueOption kValueOptions[] = {
    {"--device-root", "--device-root", "a folder", &CommandLineOptions::deviceRoot},
    {"--render", "--render", "a folder", &CommandLineOptions::renderDirectory},
    {"-o,--output", "--output", "a file name (.png or .svg)", &CommandLineOptions::outputPath},
    {"--host", "--host", "an address", &CommandLineOptions::host},
    {"--port", "--port", "a port number", &CommandLineOptions::portText},
};

constexpr std::array<std::string_view, 5> kCommands = {"run", "replay", "plot", "serve", "help"};

// Edits (insertion, deletion, substitution, swap of neighbours) that turn `a` into `b`.
std::size_t editDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

// The command `word` most likely misspells: at most two edits away and fewer edits than half
// the command's letters, so that "x" or "go" is never taken for "run"; empty when none is.
std::string_view likelyCommand(std::string_view word) {
  constexpr std::size_t kMaxEdits = 2;
  std::string_view best;
  std::size_t bestEdits = kMaxEdits + 1;
  for (std::string_view command : kCommands) {
    const std::size_t edits = editDistance(word, command);
    if (edits < bestEdits && 2 * edits < command.size()) {
      best = command;
      bestEdits = edits;
    }
  }
  return best;
}

CommandLine::Result failure(std::string message) {
  CommandLine::Result result;
  result.error = std::move(message);
  return result;
}

}  // namespace

std::string CommandLine::usage() {
  return "usage:\n"
         "  gyrowhirl-sim [--render DIR] [--jsonl] [--log] [--no-color]\n"
         "  gyrowhirl-sim run SCENARIO [--device-root DIR] [--jsonl] [--log] [--render DIR]\n"
         "  gyrowhirl-sim replay TRACE.csv [SCENARIO] [--device-root DIR] [--jsonl] [--log]\n"
         "                [--render DIR]\n"
         "  gyrowhirl-sim plot TRACE.csv [SCENARIO] -o FILE.png|FILE.svg [--device-root DIR]\n"
         "  gyrowhirl-sim serve [SCENARIO] [--port N] [--host ADDR]\n"
         "  gyrowhirl-sim --help\n"
         "  gyrowhirl-sim --version\n"
         "\n"
         "(no command) plays the built-in showcase: the whole story on a simulated phone\n"
         "run      plays a scenario file (.scn) on a simulated phone and prints its timeline\n"
         "replay   replays a recorded attitude trace (CSV with columns t, roll, pitch);\n"
         "         an optional scenario sets the device up and adds its timed actions\n"
         "plot     replays a trace and draws roll and pitch over time with the classifier's\n"
         "         bands, the reports and the suggestions (PNG or SVG by the file's extension)\n"
         "serve    the simulated phone live in a web browser, on http://127.0.0.1:8080/\n"
         "         (each page gets its own phone, set up by SCENARIO when one is given)\n"
         "\n"
         "--device-root DIR   keep the simulated device's files in DIR (kept afterwards);\n"
         "                    without it a temporary folder is used and removed\n"
         "--jsonl             print the timeline as JSON Lines\n"
         "--log               also put the tweak library's log lines into the timeline\n"
         "--render DIR        write a PNG picture of the phone at every visible change into\n"
         "                    DIR, and DIR/storyboard.png with the key frames\n"
         "-o, --output FILE   where plot writes its picture\n"
         "--port N            serve on port N (8080; 0 takes any free port)\n"
         "--host ADDR         serve on this address (127.0.0.1: this machine only)\n"
         "--no-color          no colours, even on a terminal (also: NO_COLOR set)\n"
         "--version           the simulator's version\n"
         "\n"
         "exit status: 0 done, 2 bad usage or a bad scenario or trace (FILE:LINE: reason)\n";
}

std::string CommandLine::versionLine() {
  return std::string("gyrowhirl-sim ") + GW_PROJECT_VERSION;
}

CommandLine::Result CommandLine::parse(const std::vector<std::string>& arguments) {
  CommandLineOptions options;
  // CLI11 reports a problem by throwing; none may leave this function.
  try {
    CLI::App app;
    app.set_help_flag();  // --help is a command here, answered below
    // Words that are no option (the command and its files) and unknown options are left in
    // order in remaining(), and sorted out below.
    app.allow_extras();
    bool help = false;
    bool version = false;
    app.add_flag("-h,--help", help);
    app.add_flag("--version", version);
    app.add_flag("--jsonl", options.jsonLines);
    app.add_flag("--log", options.log);
    app.add_flag("--no-color,--no-colour", options.noColour);
    // Every occurrence is kept, with "" for one without a value, so that a missing value and
    // an option given twice are told apart.
    std::vector<CLI::Option*> valueOptions;
    for (const ValueOption& option : kValueOptions) {
      valueOptions.push_back(app.add_option(std::string(option.names))
                                 ->expected(0, 1)
                                 ->allow_extra_args(false)
                                 ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll));
    }
    // CLI11 takes the arguments last first.
    app.parse(std::vector<std::string>(arguments.rbegin(), arguments.rend()));

    if (help) {
      options.command = Command::Help;
      return Result{options, {}};
    }
    if (version) {
      options.command = Command::Version;
      return Result{options, {}};
    }
    std::vector<std::string> positional;
    for (const std::string& word : app.remaining()) {
      if (word.size() > 1 && word.front() == '-') return failure("unknown option '" + word + "'");
      positional.push_back(word);
    }
    for (std::size_t k = 0; k < std::size(kValueOptions); ++k) {
      const ValueOption& option = kValueOptions[k];
      for (const std::string& value : valueOptions[k]->results()) {
        if (value.empty()) {
          return failure(std::string(option.longName) + " needs " + std::string(option.needs));
        }
        if (options.*(option.member)) {
          return failure(std::string(option.longName) + " given twice");
        }
        options.*(option.member) = value;
      }
    }

    if (positional.empty()) {
      // No command: the showcase, with whatever options were given.
      options.command = Command::Showcase;
    } else if (const std::string& command = positional[0]; command == "run") {
      if (positional.size() != 2) {
        return failure(positional.size() < 2 ? "run needs a scenario file"
                                             : "run takes one scenario file");
      }
      options.command = Command::Run;
      options.scenarioPath = positional[1];
    } else if (command == "replay" || command == "plot") {
      if (positional.size() < 2 || positional.size() > 3) {
        return failure(positional.size() < 2
                           ? command + " needs a trace file (CSV)"
                           : command + " takes a trace file and at most one scenario");
      }
      options.command = command == "replay" ? Command::Replay : Command::Plot;
      options.tracePath = positional[1];
      if (positional.size() == 3) options.scenarioPath = positional[2];
    } else if (command == "serve") {
      if (positional.size() > 2) return failure("serve takes at most one scenario file");
      options.command = Command::Serve;
      if (positional.size() == 2) options.scenarioPath = positional[1];
    } else if (command == "help") {
      options.command = Command::Help;
      return Result{options, {}};
    } else {
      std::string message = "unknown command '" + command + "'";
      if (std::string_view meant = likelyCommand(command); !meant.empty()) {
        message += "; did you mean '" + std::string(meant) + "'?";
      }
      return failure(message);
    }
  } catch (const CLI::Error& error) {
    return failure(error.what());
  } catch (const std::exception& error) {
    return failure(std::string("cannot read the arguments: ") + error.what());
  }

  // Options that belong to other commands.
  if (options.command == Command::Serve) {
    if (options.renderDirectory || options.jsonLines || options.log || options.deviceRoot ||
        options.outputPath) {
      return failure("serve takes only a scenario, --port and --host");
    }
    if (options.portText) {
      const std::string& text = *options.portText;
      int port = 0;
      const bool digits = !text.empty() && text.size() <= 5 &&
                          text.find_first_not_of("0123456789") == std::string::npos;
      if (digits) port = std::stoi(text);
      if (!digits || port > 65535) return failure("--port needs a number from 0 to 65535");
      options.port = port;
    }
    return Result{options, {}};
  }
  if (options.host || options.portText) return failure("--port and --host are for serve");
  if (options.command == Command::Plot) {
    if (!options.outputPath) return failure("plot needs -o FILE.png or -o FILE.svg");
    if (options.renderDirectory || options.jsonLines || options.log) {
      return failure(
          "plot prints no timeline and draws no frames (--render, --jsonl and --log are for "
          "run, replay and the showcase)");
    }
  } else if (options.outputPath) {
    return failure("-o is for plot");
  }
  return Result{options, {}};
}

}  // namespace sim

// gyrowhirl-sim: a person holding a simulated device. See SimulatorApp for the commands.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "sim/app/CommandLine.h"
#include "sim/app/SimulatorApp.h"
#include "sim/serve/ServeCommand.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  if (sim::CommandLine::Result parsed = sim::CommandLine::parse(arguments);
      parsed.options && parsed.options->command == sim::CommandLineOptions::Command::Serve) {
    return sim::ServeCommand::main(*parsed.options, std::cout, std::cerr);
  }
  sim::SimulatorApp::Terminal terminal;
  terminal.stdoutIsTerminal = isatty(STDOUT_FILENO) == 1;
  terminal.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  // The common convention: any non-empty NO_COLOR turns colours off.
  const char* noColour = std::getenv("NO_COLOR");
  terminal.coloursDisabled = noColour && *noColour;
  return sim::SimulatorApp::main(arguments, std::cout, std::cerr, terminal);
}

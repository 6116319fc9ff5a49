// gyrowhirl-sim: a person holding a simulated device. See SimulatorApp for the commands.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "sim/app/SimulatorApp.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  sim::SimulatorApp::Terminal terminal;
  terminal.stdoutIsTerminal = isatty(STDOUT_FILENO) == 1;
  terminal.stderrIsTerminal = isatty(STDERR_FILENO) == 1;
  // The common convention: any non-empty NO_COLOR turns colours off.
  const char* noColour = std::getenv("NO_COLOR");
  terminal.coloursDisabled = noColour && *noColour;
  return sim::SimulatorApp::main(arguments, std::cout, std::cerr, terminal);
}

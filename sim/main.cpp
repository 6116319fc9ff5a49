// gyrowhirl-sim: a person holding a simulated device. See SimulatorApp for the commands.
#include <iostream>
#include <string>
#include <vector>

#include "sim/SimulatorApp.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return sim::SimulatorApp::main(arguments, std::cout, std::cerr);
}

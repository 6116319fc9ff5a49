// The built-in showcase: the scenario `gyrowhirl-sim` plays when it is given no command. Its
// source is the project's examples/showcase.scn, built into the simulator so that the
// showcase runs from any folder.
#pragma once

#include <string_view>

namespace sim {

class ShowcaseScenario {
 public:
  // What messages call the scenario.
  static constexpr const char* kFileName = "showcase.scn";
  // The scenario's text, as examples/showcase.scn held it when the simulator was built.
  static std::string_view text();
};

}  // namespace sim

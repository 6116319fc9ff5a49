// How the simulated device knows which application object a process gets: the principal class
// declared for the process's name (see UIApplication::sharedApplication).
#pragma once

#include <memory>
#include <string>

#include "UIKit/UIApplication.h"

class UIApplicationSimulation {
 public:
  using Factory = std::shared_ptr<UIApplication> (*)();

  // Declares the principal class of processes named `processName`. Called from static
  // initialisers of the platform layer; returns true.
  static bool declarePrincipalClass(std::string processName, Factory make);
};

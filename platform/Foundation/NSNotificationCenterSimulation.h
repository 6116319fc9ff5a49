// What the simulated device and tests reach of a notification centre beyond NSNotificationCenter:
// a given process's default centre, its teardown, and a count of registrations.
#pragma once

#include <cstddef>

#include "Foundation/NSNotificationCenter.h"

class Process;

class NSNotificationCenterSimulation {
 public:
  // `process`'s default centre, made on first use; it lives as long as the process object.
  static NSNotificationCenter& defaultCenterOf(Process& process);
  // Removes every registration (the end of the process that owns the centre).
  static void removeAllObservers(NSNotificationCenter& center) { center.removeAllObservers(); }
  // Number of registrations of `observer` (under any name).
  static std::size_t registrationCountForTesting(const NSNotificationCenter& center,
                                                 const void* observer);
};

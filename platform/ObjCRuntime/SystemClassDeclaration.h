// Simulator only: how a stand-in framework gives the processes of a kind their system classes.
// A device has these classes in its system images; nothing of the product declares one.
#pragma once

#include <string>

#include "ObjCRuntime/ObjCClassRegistry.h"

// Declares that processes named `processName` have the class `className`, set up by `setup`.
// Called from static initialisers of the platform layer; returns true.
bool declareSystemClass(std::string processName, std::string className,
                        ObjCClassRegistry::Setup setup);

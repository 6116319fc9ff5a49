// The runtime's lookup functions, on the Objective-C runtime.
#pragma once

#include "ObjCRuntime/ObjCClass.h"
#include "ObjCRuntime/objc.h"

// The class named `name`, or nullptr when the process has none.
Class objc_getClass(const char* name);

// The implementation of `cls`'s instance method `selector` (in the runtime's calling
// convention); nullptr for a Nil class or a missing method.
IMP class_getMethodImplementation(Class cls, SEL selector);

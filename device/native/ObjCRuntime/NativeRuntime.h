// The Objective-C runtime's class lookup.
#pragma once

#include <string>

namespace gw::native::objcruntime {

// objc_getClass: the class named `name`, or null. Classes live as long as the process.
const void* getClass(const char* name);
// The implementation of the class's instance method `selector` (class_getInstanceMethod,
// method_getImplementation); null for a null class or a method it does not have.
void (*instanceMethodImplementation(const void* cls, const std::string& selector))();

}  // namespace gw::native::objcruntime

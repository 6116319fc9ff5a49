// CydiaSubstrate's MSHookMessageEx, hooking Objective-C methods with C++ replacements.
#pragma once

#include <functional>
#include <string>

#include "native/NativeObject.h"

namespace gw::native::substrate {

// A replacement for an instance method of the shape `- (void)method:(id)argument`.
using ObjectMethod = std::function<void(const Object& receiver, const Object& argument)>;

// Hooks `cls`'s instance method `selector` (a method of that shape) with a trampoline that calls
// `replacement`. Returns the hook, for callOriginal; empty (nothing hooked) for a null class.
Object hookObjectMethod(const void* cls, const std::string& selector, ObjectMethod replacement);
// Calls the implementation the hook replaced, with the hook's selector; nothing when the class
// had no such method before.
void callOriginal(const Object& hook, const Object& receiver, const Object& argument);

// MSHookMessageEx as it is, for an implementation written for the real calling convention.
void hookMessage(const void* cls, const std::string& selector, void (*replacement)(),
                 void (**result)());

}  // namespace gw::native::substrate

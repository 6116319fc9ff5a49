// The code-injection platform's message hook, on CydiaSubstrate's MSHookMessageEx.
#pragma once

#include <typeindex>

#include "ObjCRuntime/ObjCClass.h"
#include "ObjCRuntime/objc.h"

// MSHookMessageEx as it is: `replacement` must be written for the runtime's calling convention
// (receiver, selector, arguments as Objective-C passes them). `*result` gets the previous
// implementation, nullptr when the method was added; a Nil class changes nothing.
void MSHookMessageEx(Class cls, SEL selector, IMP replacement, IMP* result);

namespace gw::detail {
// Hooks `selector` of `cls` with a replacement of the face's function type `signature`, through
// a trampoline that hands the replacement the face's objects. `*result` gets a function of the
// same type that calls the replaced implementation; it is stored before the hook is installed.
// False, nothing hooked and `*result` null, for a Nil class or a signature the adapter has no
// trampoline for.
bool hookMessageWithSignature(Class cls, SEL selector, std::type_index signature,
                              void (*replacement)(), void (**result)());
}  // namespace gw::detail

// Typed form: `replacement` takes the face's objects (for example SpringBoard's
// DidFinishLaunchingFunction); `*result` calls the implementation it replaced. On a signature
// without a trampoline nothing is hooked and `*result` becomes nullptr.
template <typename R, typename... Args>
void MSHookMessageEx(Class cls, SEL selector, R (*replacement)(Args...), R (**result)(Args...)) {
  using Function = R(Args...);
  void (*previous)() = nullptr;
  if (result) *result = nullptr;
  gw::detail::hookMessageWithSignature(cls, selector, std::type_index(typeid(Function)),
                                       reinterpret_cast<void (*)()>(replacement),
                                       result ? reinterpret_cast<void (**)()>(result) : &previous);
}
